// The window model through both faces: typed accessors and the script names.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scriptkit/model/model.h"
#include "tests/support/sample_window.h"

using namespace scriptkit;
using namespace scriptkit::model;

namespace {

struct Recorded {
  ChangeKind kind;
  std::string element;
  std::string property;
};

// The sample window, with every change it tells its observers recorded.
class Model : public ::testing::Test, public sample::SampleWindow {
 protected:
  void SetUp() override {
    app->observe([this](const Change& c) {
      seen.push_back({c.kind, c.element.describe(), std::string(c.property)});
    });
  }

  std::vector<Recorded> seen;
};

TEST_F(Model, TellsObserversOfEveryChangeWithElementAndProperty) {
  always->set_state(1);
  info_name->set_contents("720 x 360 px");
  open_with->menu()->add_item("Preview");
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_EQ(seen[0].element, "button \"MAINWAP_ITEM_ALWAYSOPENWITH\" of window \"Main\"");
  EXPECT_EQ(seen[0].property, "state");
  EXPECT_EQ(seen[1].element, "text field \"name\" of box \"info\" of window \"Main\"");
  EXPECT_EQ(seen[2].kind, ChangeKind::ElementAdded);
  EXPECT_EQ(seen[2].property, "menu item");
  EXPECT_EQ(seen[3].property, "current menu item");
  always->set_state(1);  // no change, no news
  EXPECT_EQ(seen.size(), 4u);
}

TEST_F(Model, CheckBoxTakesAnyOtherNumberAsOn) {
  EXPECT_FALSE(always->set("state", Value(2)));
  EXPECT_EQ(always->state(), 1);
  EXPECT_FALSE(always->set("state", Value(false)));
  EXPECT_EQ(always->state(), 0);
  auto error = always->set("state", Value("on"));
  ASSERT_TRUE(error);
  EXPECT_EQ(error->number, kErrCantMake);
}

TEST_F(Model, PopUpKeepsACurrentRowAcrossAddsAndDeletes) {
  open_with->menu()->add_separator();
  EXPECT_EQ(open_with->current_item(), nullptr);
  auto a = open_with->menu()->add_item("A");
  auto b = open_with->menu()->add_item("B");
  EXPECT_EQ(open_with->current_item(), a);
  EXPECT_TRUE(open_with->set_current_item(b));
  EXPECT_EQ(open_with->current_index(), 3u);
  open_with->menu()->remove_item(*b);
  EXPECT_EQ(open_with->current_item(), a);
  open_with->menu()->remove_all();
  EXPECT_EQ(open_with->current_item(), nullptr);
  EXPECT_EQ(open_with->menu()->item_count(), 0u);
  auto other = std::make_shared<Menu>();
  EXPECT_FALSE(open_with->set_current_item(other->add_item("X")));
}

TEST_F(Model, MakesMenuItemsByScriptNamesAndRejectsBadPropertiesWhole) {
  auto made = open_with->make("menu item", Position::End,
                              {{"title", Value("Other…")}, {"enabled", Value(true)}});
  ASSERT_FALSE(failed(made));
  auto bad = open_with->make("menu item", Position::Beginning,
                             {{"title", Value("X")}, {"colour", Value(3)}});
  ASSERT_TRUE(failed(bad));
  EXPECT_EQ(std::get<ScriptError>(bad).number, kErrCantSet);
  EXPECT_EQ(open_with->menu()->item_count(), 1u);
  auto by_title = element_named(*open_with, "menu item", "Other…");
  ASSERT_FALSE(failed(by_title));
  EXPECT_EQ(std::get<ElementPtr>(by_title)->describe(),
            "menu item 1 of menu of popup button \"MAINWAP_ITEM_OPENWITHPOPUP\" of window "
            "\"Main\"");
}

TEST_F(Model, ControlMatchesEveryControlButNotBoxes) {
  EXPECT_FALSE(failed(element_named(*main, "control", "MAINWAP_ITEM_ALWAYSOPENWITH")));
  EXPECT_FALSE(failed(element_named(*main, "control", "MAINWAP_ITEM_OPENWITHPOPUP")));
  EXPECT_TRUE(failed(element_named(*main, "control", "info")));
  auto missing = element_named(*main, "button", "nope");
  ASSERT_TRUE(failed(missing));
  EXPECT_EQ(std::get<ScriptError>(missing).number, kErrCantGet);
  EXPECT_EQ(std::get<ScriptError>(missing).message,
            "Can't get button \"nope\" of window \"Main\".");
}

TEST_F(Model, IndexesCountFromOneAndFromTheEnd) {
  open_with->menu()->add_item("A");
  open_with->menu()->add_item("B");
  auto title_at = [&](std::int64_t i) {
    auto item = std::get<ElementPtr>(element_at(*open_with, "menu item", i));
    return std::get<Value>(item->get("title")).as_text();
  };
  EXPECT_EQ(title_at(1), "A");
  EXPECT_EQ(title_at(-1), "B");
  EXPECT_TRUE(failed(element_at(*open_with, "menu item", 0)));
  EXPECT_TRUE(failed(element_at(*open_with, "menu item", 3)));
}

TEST_F(Model, RowsGetOneCellPerColumnAndContentsFillThemInOrder) {
  auto row = files->data_source()->add_row();
  ASSERT_EQ(row->cell_count(), 2u);
  EXPECT_FALSE(row->set("contents", Value(ValueList{Value("a.tif"), Value(12)})));
  EXPECT_EQ(row->cell("name")->contents(), "a.tif");
  EXPECT_EQ(row->cell("size")->contents(), "12");
  EXPECT_TRUE(row->set("contents", Value(ValueList{Value(1), Value(2), Value(3)})));
  EXPECT_EQ(row->cell("name")->contents(), "a.tif");
  files->add_column("kind");
  EXPECT_EQ(row->cell_count(), 3u);
}

TEST_F(Model, SelectionFollowsRowsAndRejectsMissingRows) {
  for (int i = 0; i < 5; ++i) files->data_source()->add_row();
  EXPECT_FALSE(files->select_rows({2, 4}, false));
  EXPECT_TRUE(files->select_rows({6}, true));
  EXPECT_EQ(files->selected_rows(), (std::vector<std::int64_t>{2, 4}));
  files->data_source()->remove_row(*files->data_source()->row(2));
  EXPECT_EQ(files->selected_rows(), (std::vector<std::int64_t>{3}));
  files->data_source()->add_row(Position::Beginning);
  EXPECT_EQ(files->selected_rows(), (std::vector<std::int64_t>{4}));
  EXPECT_EQ(files->selected_row(), 4);
}

TEST_F(Model, TableMethodsTakeZeroBasedIndexes) {
  for (int i = 0; i < 6; ++i) files->data_source()->add_row();
  Value args[] = {Value(3)};
  EXPECT_FALSE(failed(files->call_method("scrollRowToVisible:", args)));
  EXPECT_EQ(files->scrolled_row(), 4);
  files->select_rows({1}, false);
  Value extend[] = {index_set_value(2, 3), Value(true)};
  EXPECT_FALSE(failed(files->call_method("selectRowIndexes:byExtendingSelection:", extend)));
  EXPECT_EQ(files->selected_rows(), (std::vector<std::int64_t>{1, 3, 4, 5}));
  Value too_far[] = {index_set_value(4, 3), Value(false)};
  EXPECT_TRUE(failed(files->call_method("selectRowIndexes:byExtendingSelection:", too_far)));
  EXPECT_EQ(files->selected_rows().size(), 4u);
  auto unknown = files->call_method("reloadData", {});
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
