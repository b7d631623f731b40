// The window model through both faces: typed accessors and the script names.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scriptkit/model/model.h"

using namespace scriptkit;
using namespace scriptkit::model;

namespace {

struct Recorded {
  ChangeKind kind;
  std::string element;
  std::string property;
};

class Model : public ::testing::Test {
 protected:
  void SetUp() override {
    main = app->add_window("Main");
    popup = main->add<PopUpButton>("pop");
    check = main->add<Button>("check");
    check->set_style(Button::Style::CheckBox);
    box = main->add<Box>("box");
    field = box->add<TextField>("field");
    auto scroll = main->add<ScrollView>("list");
    table = scroll->add_table_view();
    table->add_column("name", "Name");
    table->add_column("size", "Size");
    app->observe([this](const Change& c) {
      seen.push_back({c.kind, c.element.describe(), std::string(c.property)});
    });
  }

  std::shared_ptr<Application> app = std::make_shared<Application>();
  std::shared_ptr<Window> main;
  std::shared_ptr<PopUpButton> popup;
  std::shared_ptr<Button> check;
  std::shared_ptr<Box> box;
  std::shared_ptr<TextField> field;
  std::shared_ptr<TableView> table;
  std::vector<Recorded> seen;
};

TEST_F(Model, TellsObserversOfEveryChangeWithElementAndProperty) {
  check->set_state(1);
  field->set_contents("720 x 360 px");
  popup->menu()->add_item("Preview");
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_EQ(seen[0].element, "button \"check\" of window \"Main\"");
  EXPECT_EQ(seen[0].property, "state");
  EXPECT_EQ(seen[1].element, "text field \"field\" of box \"box\" of window \"Main\"");
  EXPECT_EQ(seen[2].kind, ChangeKind::ElementAdded);
  EXPECT_EQ(seen[2].property, "menu item");
  EXPECT_EQ(seen[3].property, "current menu item");
  check->set_state(1);  // no change, no news
  EXPECT_EQ(seen.size(), 4u);
}

TEST_F(Model, CheckBoxTakesAnyOtherNumberAsOn) {
  EXPECT_FALSE(check->set("state", Value(2)));
  EXPECT_EQ(check->state(), 1);
  EXPECT_FALSE(check->set("state", Value(false)));
  EXPECT_EQ(check->state(), 0);
  auto error = check->set("state", Value("on"));
  ASSERT_TRUE(error);
  EXPECT_EQ(error->number, kErrCantMake);
}

TEST_F(Model, PopUpKeepsACurrentRowAcrossAddsAndDeletes) {
  popup->menu()->add_separator();
  EXPECT_EQ(popup->current_item(), nullptr);
  auto a = popup->menu()->add_item("A");
  auto b = popup->menu()->add_item("B");
  EXPECT_EQ(popup->current_item(), a);
  EXPECT_TRUE(popup->set_current_item(b));
  EXPECT_EQ(popup->current_index(), 3u);
  popup->menu()->remove_item(*b);
  EXPECT_EQ(popup->current_item(), a);
  popup->menu()->remove_all();
  EXPECT_EQ(popup->current_item(), nullptr);
  EXPECT_EQ(popup->menu()->item_count(), 0u);
  auto other = std::make_shared<Menu>();
  EXPECT_FALSE(popup->set_current_item(other->add_item("X")));
}

TEST_F(Model, MakesMenuItemsByScriptNamesAndRejectsBadPropertiesWhole) {
  auto made = popup->make("menu item", Position::End,
                          {{"title", Value("Other…")}, {"enabled", Value(true)}});
  ASSERT_FALSE(failed(made));
  auto bad =
      popup->make("menu item", Position::Beginning, {{"title", Value("X")}, {"colour", Value(3)}});
  ASSERT_TRUE(failed(bad));
  EXPECT_EQ(std::get<ScriptError>(bad).number, kErrCantSet);
  EXPECT_EQ(popup->menu()->item_count(), 1u);
  auto by_title = element_named(*popup, "menu item", "Other…");
  ASSERT_FALSE(failed(by_title));
  EXPECT_EQ(std::get<ElementPtr>(by_title)->describe(),
            "menu item 1 of menu of popup button \"pop\" of window \"Main\"");
}

TEST_F(Model, ControlMatchesEveryControlButNotBoxes) {
  EXPECT_FALSE(failed(element_named(*main, "control", "check")));
  EXPECT_FALSE(failed(element_named(*main, "control", "pop")));
  EXPECT_TRUE(failed(element_named(*main, "control", "box")));
  auto missing = element_named(*main, "button", "nope");
  ASSERT_TRUE(failed(missing));
  EXPECT_EQ(std::get<ScriptError>(missing).number, kErrCantGet);
  EXPECT_EQ(std::get<ScriptError>(missing).message,
            "Can't get button \"nope\" of window \"Main\".");
}

TEST_F(Model, IndexesCountFromOneAndFromTheEnd) {
  popup->menu()->add_item("A");
  popup->menu()->add_item("B");
  auto title_at = [&](std::int64_t i) {
    auto item = std::get<ElementPtr>(element_at(*popup, "menu item", i));
    return std::get<Value>(item->get("title")).as_text();
  };
  EXPECT_EQ(title_at(1), "A");
  EXPECT_EQ(title_at(-1), "B");
  EXPECT_TRUE(failed(element_at(*popup, "menu item", 0)));
  EXPECT_TRUE(failed(element_at(*popup, "menu item", 3)));
}

TEST_F(Model, RowsGetOneCellPerColumnAndContentsFillThemInOrder) {
  auto row = table->data_source()->add_row();
  ASSERT_EQ(row->cell_count(), 2u);
  EXPECT_FALSE(row->set("contents", Value(ValueList{Value("a.tif"), Value(12)})));
  EXPECT_EQ(row->cell("name")->contents(), "a.tif");
  EXPECT_EQ(row->cell("size")->contents(), "12");
  EXPECT_TRUE(row->set("contents", Value(ValueList{Value(1), Value(2), Value(3)})));
  EXPECT_EQ(row->cell("name")->contents(), "a.tif");
  table->add_column("kind");
  EXPECT_EQ(row->cell_count(), 3u);
}

TEST_F(Model, SelectionFollowsRowsAndRejectsMissingRows) {
  for (int i = 0; i < 5; ++i) table->data_source()->add_row();
  EXPECT_FALSE(table->select_rows({2, 4}, false));
  EXPECT_TRUE(table->select_rows({6}, true));
  EXPECT_EQ(table->selected_rows(), (std::vector<std::int64_t>{2, 4}));
  table->data_source()->remove_row(*table->data_source()->row(2));
  EXPECT_EQ(table->selected_rows(), (std::vector<std::int64_t>{3}));
  table->data_source()->add_row(Position::Beginning);
  EXPECT_EQ(table->selected_rows(), (std::vector<std::int64_t>{4}));
  EXPECT_EQ(table->selected_row(), 4);
}

TEST_F(Model, TableMethodsTakeZeroBasedIndexes) {
  for (int i = 0; i < 6; ++i) table->data_source()->add_row();
  Value args[] = {Value(3)};
  EXPECT_FALSE(failed(table->call_method("scrollRowToVisible:", args)));
  EXPECT_EQ(table->scrolled_row(), 4);
  table->select_rows({1}, false);
  Value extend[] = {index_set_value(2, 3), Value(true)};
  EXPECT_FALSE(failed(table->call_method("selectRowIndexes:byExtendingSelection:", extend)));
  EXPECT_EQ(table->selected_rows(), (std::vector<std::int64_t>{1, 3, 4, 5}));
  Value too_far[] = {index_set_value(4, 3), Value(false)};
  EXPECT_TRUE(failed(table->call_method("selectRowIndexes:byExtendingSelection:", too_far)));
  EXPECT_EQ(table->selected_rows().size(), 4u);
  auto unknown = table->call_method("reloadData", {});
  ASSERT_TRUE(failed(unknown));
  EXPECT_EQ(std::get<ScriptError>(unknown).number, kErrDoesNotUnderstand);
}

TEST(ModelCoerce, DescribesAndCoercesLikeTheLanguage) {
  EXPECT_EQ(describe_value(Value(ValueList{Value(1), Value("a"), Value(2.5)})), "{1, \"a\", 2.5}");
  EXPECT_EQ(std::get<std::int64_t>(to_integer(Value("  42 "))), 42);
  EXPECT_EQ(std::get<std::int64_t>(to_integer(Value(2.5))), 2);
  EXPECT_TRUE(failed(to_integer(Value(1e300))));
  EXPECT_EQ(std::get<std::string>(to_text(Value(3.0))), "3.0");
  EXPECT_EQ(std::get<std::string>(to_text(Value(ValueList{Value("a"), Value(1)}))), "a1");
  auto self = Value(ValueList{});
  self.as_list().push_back(self);  // a list that holds itself still describes
  EXPECT_FALSE(describe_value(self).empty());
  self.as_list().clear();
}

}  // namespace
