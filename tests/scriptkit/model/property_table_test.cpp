// The property tables: every property a class declares reads back what a
// script sets, through the reflective face and through script text; a
// read-only one refuses a script's value; every name is a word the parser
// knows.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "scriptkit/lang/script.h"
#include "scriptkit/model/model.h"

using namespace scriptkit;
using namespace scriptkit::model;

namespace {

// One element of every class that declares properties, in a window.
std::vector<ElementPtr> one_of_each(Application& app) {
  auto main = app.add_window("Main");
  auto popup = main->add<PopUpButton>("pop");
  popup->menu()->add_item("A");
  popup->menu()->add_item("B");
  auto table = main->add<ScrollView>("list")->add_table_view();
  auto column = table->add_column("name", "Name");
  table->add_column("size", "Size");
  for (int i = 0; i < 3; ++i) table->data_source()->add_row();
  auto row = table->data_source()->row(2);
  return {main,
          main->add<Box>("box"),
          main->add<Button>("button"),
          main->add<TextField>("field"),
          main->add<ImageView>("icon"),
          main->add<ProgressIndicator>("busy"),
          popup,
          popup->menu(),
          popup->menu()->item(0),
          table,
          column,
          column->header_cell(),
          row,
          row->cell("size")};
}

// A value of the property's type that differs from what the element holds.
Value sample(Element& element, const Property& property) {
  Value now = property.get(element);
  switch (property.type) {
    case PropertyType::Text:
      return Value(element.name() + "-" + std::string(property.name));
    case PropertyType::Boolean:
      return Value(!now.as_bool());
    case PropertyType::Integer:
      return Value(now.as_integer() == 1 ? 2 : 1);
    case PropertyType::Bounds:
      return bounds_value({10, 40, 30, 20});
    case PropertyType::List:
      return Value(ValueList{Value("2"), Value("3")});
    case PropertyType::Element: {
      ElementList items = element.elements(cls::kMenuItem);
      return items.empty() ? now : Value(items.back());
    }
    case PropertyType::Class:
      break;
  }
  return now;
}

// Texts and numbers in lists compare as the script's text of them.
std::string shown(const Value& value) {
  if (value.is_list()) return std::get<std::string>(to_text(value));
  return describe_value(value);
}

TEST(PropertyTable, EveryPropertyAScriptMaySetReadsBackAndTheOthersRefuse) {
  Application app;
  for (const ElementPtr& element : one_of_each(app)) {
    for (const PropertyTable* t = &element->properties(); t; t = t->base) {
      for (const Property& property : t->own) {
        SCOPED_TRACE(element->describe() + ": " + std::string(property.name));
        Value value = sample(*element, property);
        Value before = std::get<Value>(element->get(property.name));
        MaybeError error = element->set(property.name, value);
        if (!property.set) {
          ASSERT_TRUE(error);
          EXPECT_EQ(error->number, kErrCantSet);
          EXPECT_EQ(shown(std::get<Value>(element->get(property.name))), shown(before));
          continue;
        }
        ASSERT_FALSE(error) << error->message;
        EXPECT_EQ(shown(std::get<Value>(element->get(property.name))), shown(value));
      }
    }
  }
}

TEST(PropertyTable, EverySettablePropertyRoundTripsThroughAScript) {
  auto app = std::make_shared<Application>();
  lang::Environment env{app, [](std::string_view) {}};
  for (const ElementPtr& element : one_of_each(*app)) {
    for (const PropertyTable* t = &element->properties(); t; t = t->base) {
      for (const Property& property : t->own) {
        if (!property.set) continue;
        std::string name(property.name);
        Value value = sample(*element, property);
        std::string set =
            "set " + name + " of " + element->describe() + " to " + describe_value(value);
        SCOPED_TRACE(set);
        Result<Value> done = lang::run_text(set, env);
        ASSERT_FALSE(failed(done)) << std::get<ScriptError>(done).message;
        Result<Value> got = lang::run_text("get " + name + " of " + element->describe(), env);
        ASSERT_FALSE(failed(got)) << std::get<ScriptError>(got).message;
        EXPECT_EQ(shown(std::get<Value>(got)), shown(value));
      }
    }
  }
}

TEST(PropertyTable, EveryNameIsAWordOfTheVocabulary) {
  Application app;
  auto names = property_names();
  auto classes = class_names();
  for (const ElementPtr& element : one_of_each(app)) {
    EXPECT_NE(std::find(classes.begin(), classes.end(), element->class_name()), classes.end());
    for (const PropertyTable* t = &element->properties(); t; t = t->base) {
      for (const Property& property : t->own) {
        EXPECT_NE(std::find(names.begin(), names.end(), property.name), names.end())
            << property.name;
      }
    }
  }
  EXPECT_EQ(std::count(names.begin(), names.end(), prop::kTitle), 1) << "each name once";
}

TEST(PropertyTable, AWindowSharesAViewsFrameButHasNoEnabled) {
  Application app;
  auto main = app.add_window("Main");
  EXPECT_FALSE(main->set(prop::kBounds, bounds_value({1, 40, 30, 2})));
  EXPECT_FALSE(main->set(prop::kVisible, Value(false)));
  EXPECT_EQ(main->bounds(), (Bounds{1, 40, 30, 2}));
  EXPECT_FALSE(main->visible());
  auto enabled = main->get(prop::kEnabled);
  ASSERT_TRUE(failed(enabled));
  EXPECT_EQ(std::get<ScriptError>(enabled).message, "Can't get enabled of window \"Main\".");
  EXPECT_EQ(main->properties().find(prop::kEnabled), nullptr);
}

}  // namespace
