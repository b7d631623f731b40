// The window layout format: what a layout builds, and the errors it reports.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "scriptkit/app/layout.h"
#include "scriptkit/app/window_text.h"
#include "scriptkit/model/model.h"

using namespace scriptkit;
using namespace scriptkit::model;
using scriptkit::app::load_layout;

namespace {

constexpr std::string_view kSample = R"(# A window with one of everything.
window "Main" title "Sample" size 400 300
  label "Profile:" frame 10 10 80 20
  text field "profile" frame 100 10 200 20 contents "sRGB \"v4\""
  popup button "units" frame 100 40 150 26
    menu item "Pixels"
    separator
    menu item "Inches" enabled false
  check box "always" frame 10 80 200 20 title "Always" state on enabled false
  button "Trigger" frame 0 0 1 1 visible false
  image view "icon" frame 10 110 48 48 image "image-x-generic"
  progress indicator "busy" frame 70 110 100 20
  box "more" frame 10 170 380 120 title "More"
    text field "editable" frame 10 20 100 20 editable true
    table view "files" frame 10 50 360 60
      table column "name" title "Name" width 120
      table column "size" title "Size"
)";

std::string error_of(std::string_view text) {
  Application app;
  auto error = load_layout(text, app);
  if (!error) return "no error";
  EXPECT_TRUE(app.children().empty()) << "a failed layout must leave the application alone";
  return app::describe_layout_error(*error, "Main.layout");
}

TEST(Layout, BuildsEveryKindOfView) {
  auto app = std::make_shared<Application>();
  ASSERT_FALSE(load_layout(kSample, *app));
  auto main = app->window("Main");
  ASSERT_TRUE(main);
  EXPECT_EQ(main->title(), "Sample");
  EXPECT_EQ(main->bounds(), (Bounds{0, 300, 400, 0}));

  auto field = std::dynamic_pointer_cast<TextField>(
      std::get<ElementPtr>(element_named(*main, "text field", "profile")));
  EXPECT_EQ(field->contents(), "sRGB \"v4\"");
  EXPECT_EQ(field->bounds(), (Bounds{100, 30, 300, 10}));

  auto popup = std::dynamic_pointer_cast<PopUpButton>(
      std::get<ElementPtr>(element_named(*main, "popup button", "units")));
  ASSERT_EQ(popup->menu()->item_count(), 3u);
  EXPECT_TRUE(popup->menu()->item(1)->separator());
  EXPECT_FALSE(popup->menu()->item(2)->enabled());
  EXPECT_EQ(popup->current_item()->title(), "Pixels");

  auto check = std::dynamic_pointer_cast<Button>(
      std::get<ElementPtr>(element_named(*main, "button", "always")));
  EXPECT_EQ(check->style(), Button::Style::CheckBox);
  EXPECT_EQ(check->state(), Button::kOn);
  EXPECT_FALSE(check->enabled());

  auto trigger = std::dynamic_pointer_cast<Button>(
      std::get<ElementPtr>(element_named(*main, "button", "Trigger")));
  EXPECT_FALSE(trigger->visible());

  auto box = std::get<ElementPtr>(element_named(*main, "box", "more"));
  auto scroll = std::dynamic_pointer_cast<ScrollView>(
      std::get<ElementPtr>(element_named(*box, "scroll view", "files")));
  ASSERT_TRUE(scroll && scroll->table_view());
  EXPECT_EQ(scroll->table_view()->name(), "files");
  EXPECT_EQ(scroll->table_view()->column_count(), 2u);
  EXPECT_EQ(scroll->table_view()->column(1)->width(), 120);
  EXPECT_EQ(scroll->table_view()->column("size")->header_cell()->title(), "Size");
}

TEST(Layout, PrintsAsTheWindowText) {
  Application app;
  ASSERT_FALSE(load_layout(kSample, app));
  EXPECT_EQ(app::window_text(*app.window("Main")),
            "window \"Main\": Sample\n"
            "  label: Profile:\n"
            "  text field \"profile\": sRGB \"v4\"\n"
            "  popup button \"units\":\n"
            "      * Pixels\n"
            "        ----\n"
            "        Inches (disabled)\n"
            "  check box \"always\": [x] Always (disabled)\n"
            "  button \"Trigger\": (hidden)\n"
            "  image view \"icon\": icon image-x-generic\n"
            "  progress indicator \"busy\": stopped\n"
            "  box \"more\": More\n"
            "    text field \"editable\":\n"
            "    table view \"files\":\n"
            "          | Name | Size |\n");
}

TEST(Layout, WindowTextShowsWhatATerminalWouldActOnVisibly) {
  EXPECT_EQ(app::visible_text("\x1b[2Jtitle\x07\tDEL\x7f"), "\\x1b[2Jtitle\\x07\\x09DEL\\x7f");
  EXPECT_EQ(app::visible_text("Écran large – D65 日本 🎨"), "Écran large – D65 日本 🎨");
  EXPECT_EQ(app::visible_text("csi\xC2\x9B"
                              "2J rtl\xE2\x80\xAE"
                              "gpj.exe"),
            "csi\\u009b2J rtl\\u202egpj.exe");
  EXPECT_EQ(app::visible_text("bad\xFF\xC3(end"), "bad\\xff\\xc3(end");
  Application app;
  ASSERT_FALSE(load_layout("window \"Main\"\n  text field \"name\" frame 0 0 9 9\n", app));
  auto field = std::dynamic_pointer_cast<TextField>(
      std::get<ElementPtr>(element_named(*app.window("Main"), "text field", "name")));
  field->set_contents("a\nb\x1b]0;x\x07");
  EXPECT_EQ(app::window_text(*app.window("Main")),
            "window \"Main\": \n  text field \"name\": a\\x0ab\\x1b]0;x\\x07\n");
}

TEST(Layout, ReportsTheLineAndTheWordFound) {
  EXPECT_EQ(error_of("window \"Main\"\n  buttn \"OK\"\n"),
            "Main.layout:2: unknown class \"buttn\"");
  EXPECT_EQ(error_of("window \"Main\"\n  button \"OK\" frame 1 2 x 4\n"),
            "Main.layout:2: expected a number after \"frame\" but found \"x\"");
  EXPECT_EQ(error_of("window \"Main\"\n  button \"OK\" frame 1 2 3\n"),
            "Main.layout:2: expected a number after \"frame\" but found the end of the line");
  EXPECT_EQ(error_of("window \"Main\"\n  button \"OK\" contents \"x\"\n"),
            "Main.layout:2: a button has no property \"contents\"");
  EXPECT_EQ(error_of("window \"Main\"\n  button \"OK\" title \"a\" title \"b\"\n"),
            "Main.layout:2: \"title\" is given twice");
  EXPECT_EQ(error_of("window \"Main\"\n  button \"OK\" frame 1 2 3 4 frame 1 x\n"),
            "Main.layout:2: expected a number after \"frame\" but found \"x\"");
  // A layout takes fewer properties than a script may set.
  EXPECT_EQ(error_of("window \"Main\" visible false\n"),
            "Main.layout:1: a window has no property \"visible\"");
  EXPECT_EQ(error_of("window \"Main\"\n  label \"x\" contents \"y\"\n"),
            "Main.layout:2: a label has no property \"contents\"");
  EXPECT_EQ(error_of("window \"Main\"\n  popup button \"p\"\n    menu item \"A\" title \"B\"\n"),
            "Main.layout:3: a menu item has no property \"title\"");
  EXPECT_EQ(error_of("window \"Main\" title \"open\n"),
            "Main.layout:1: text left open (no closing \")");
  EXPECT_EQ(error_of("window \"Main\"\n  button \"OK\" visible yes\n"),
            "Main.layout:2: expected true or false after \"visible\" but found \"yes\"");
  EXPECT_EQ(error_of("window \"Main\"\n  check box \"c\" state 1\n"),
            "Main.layout:2: expected on, off or mixed after \"state\" but found number 1");
  EXPECT_EQ(error_of("window \"Main\" size 10 -5\n"),
            "Main.layout:1: number -5 is out of range for \"size\"");
  EXPECT_EQ(error_of("window \"Main\" @\n"),
            "Main.layout:1: the character \"@\" has no place in a layout");
  EXPECT_EQ(error_of("# nothing\n"), "Main.layout:2: the layout holds no window");
}

TEST(Layout, ReportsElementsInThePlaceOfOthers) {
  EXPECT_EQ(error_of("button \"OK\"\n"),
            "Main.layout:1: a button must be indented inside a window");
  EXPECT_EQ(error_of("window \"Main\"\n  menu item \"x\"\n"),
            "Main.layout:2: a menu item belongs in a popup button, not in window \"Main\"");
  EXPECT_EQ(error_of("window \"Main\"\n  button \"OK\"\n    button \"In\"\n"),
            "Main.layout:3: a button cannot stand inside button \"OK\" of window \"Main\"");
  EXPECT_EQ(error_of("window \"Main\"\n  popup button \"p\"\n    table column \"c\"\n"),
            "Main.layout:3: a table column belongs in a table view, not in popup button \"p\" "
            "of window \"Main\"");
  EXPECT_EQ(error_of("window \"Main\"\n  window \"Other\"\n"),
            "Main.layout:2: a window stands at the start of a line, inside nothing");
  EXPECT_EQ(error_of("window \"Main\"\n  table view\n"),
            "Main.layout:2: a table view needs its name in quotes");
}

TEST(Layout, RefusesTwoViewsOfOneClassAndName) {
  EXPECT_EQ(error_of("window \"Main\"\n  button \"OK\"\n  check box \"OK\"\n"),
            "Main.layout:3: a second button named \"OK\" in window \"Main\"");
  EXPECT_EQ(error_of("window \"Main\"\nwindow \"Main\"\n"),
            "Main.layout:2: a second window named \"Main\"");
  // Another class may share the name, as scripts tell them apart by class.
  EXPECT_EQ(error_of("window \"Main\"\n  button \"x\"\n  text field \"x\"\n  label \"x\"\n"),
            "no error");
}

TEST(Layout, DedentingClosesElements) {
  Application app;
  ASSERT_FALSE(
      load_layout("window \"A\"\n  box \"b\"\n    button \"in\"\n  button \"out\"\n"
                  "window \"B\"\n\tbutton \"tab\"\n",
                  app));
  auto a = app.window("A");
  ASSERT_EQ(a->children().size(), 2u);
  EXPECT_EQ(a->children()[1]->name(), "out");
  EXPECT_EQ(app.window("B")->children().size(), 1u);
}

TEST(Layout, TheBundlesLayoutLoads) {
  std::ifstream in(std::string(TAVRINE_SOURCE_DIR) + "/resources/Main.layout");
  std::stringstream text;
  text << in.rdbuf();
  Application app;
  auto error = load_layout(text.str(), app);
  ASSERT_FALSE(error) << app::describe_layout_error(*error, "Main.layout");
  auto main = app.window("Main");
  ASSERT_TRUE(main);
  // The names the native side addresses.
  EXPECT_FALSE(failed(element_named(*main, "button", "Trigger")));
  EXPECT_FALSE(failed(element_named(*main, "popup button", "MAINWAP_ITEM_OPENWITHPOPUP")));
  EXPECT_FALSE(failed(element_named(*main, "button", "MAINWAP_ITEM_ALWAYSOPENWITH")));
}

}  // namespace
