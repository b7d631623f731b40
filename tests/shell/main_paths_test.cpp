// Pictures in every place the file system can name, through the real window:
// the information shown, the application opened on the right file, and each
// folder of the path revealed; and a pop-up row with a long application name.
#include <gio/gio.h>
#include <gtest/gtest.h>

#include <fstream>
#include <thread>

#include "tests/support/answering_chooser.h"
#include "tests/support/hard_places.h"
#include "tests/support/private_bus.h"
#include "tests/support/window_fixture.h"

using namespace window_test;
namespace fs = std::filesystem;

namespace {

class EveryPath : public RunningWindow {
 protected:
  // The first line the marker program wrote, once it has.
  static std::string launched_with(const fs::path& marker) {
    for (int i = 0; i < 500 && !fs::exists(marker); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::ifstream in(marker);
    std::string line;
    std::getline(in, line);
    fs::remove(marker);
    return line;
  }
  void choose_row(std::string_view popup, int row) {
    auto* combo =
        qobject_cast<QComboBox*>(view->widget_of(*element<PopUpButton>("popup button", popup)));
    combo->setCurrentIndex(row);
    emit combo->activated(row);
  }
  std::string field(std::string_view name) {
    return element<TextField>("text field", name)->contents();
  }
};

std::string uri_of(const fs::path& item) {
  gchar* uri = g_filename_to_uri(item.c_str(), nullptr, nullptr);
  std::string text = uri ? uri : "";
  g_free(uri);
  return text;
}

TEST_F(EveryPath, EachPlaceShowsOpensAndRevealsLikeAPlainOne) {
  fs::path marker = sandbox.root() / "launched";
  fs::path viewer = sandbox.add_application(
      "viewer", "Picture Viewer", sandbox.marker_program(marker).string() + " %f", "image/jpeg;");
  sandbox.set_default("image/jpeg", "viewer");
  testing_support::PrivateBus bus(sandbox.root(), {});
  bus.start_file_manager();
  framework->launched();
  auto places = testing_support::make_hard_places(
      sandbox.root() / "places", fs::path(TAVRINE_SOURCE_DIR) / "samples" / "sample-srgb.jpg");
  std::size_t reveals = 0;
  for (const auto& place : places) {
    SCOPED_TRACE(place.label);
    framework->open({place.picture.string()});
    EXPECT_EQ(field("dimensions"), "720 x 360 px");
    EXPECT_EQ(field("colourProfile"), "sRGB IEC61966-2.1");
    EXPECT_EQ(field("applicationPath"), viewer.string());
    EXPECT_EQ(
        element<PopUpButton>("popup button", "MAINWAP_ITEM_OPENWITHPOPUP")->current_item()->title(),
        "Picture Viewer (Default)");

    click("openButton");
    EXPECT_EQ(launched_with(marker), place.picture.string());

    // Each folder of the path, from the picture's own up to the root.
    fs::path folder = place.picture.parent_path();
    for (int level = 0; folder != folder.root_path(); ++level, folder = folder.parent_path()) {
      choose_row("revealPopUp", level);
      click("revealButton");
      ASSERT_TRUE(testing_support::settle_file_manager_requests()) << level;
      ASSERT_EQ(bus.calls().size(), ++reveals) << level;
      EXPECT_NE(bus.calls().back().find("|" + uri_of(folder)), std::string::npos)
          << level << ": " << bus.calls().back();
    }
  }
}

TEST_F(EveryPath, ALongApplicationNameKeepsEveryRowInItsPlace) {
  fs::path long_marker = sandbox.root() / "long", short_marker = sandbox.root() / "short";
  std::string long_name = "Professional " + std::string(100, 'X') + " Image Editor";
  ASSERT_EQ(long_name.size(), 126u);
  fs::path long_app = sandbox.add_application(
      "long", long_name, sandbox.marker_program(long_marker).string() + " %f", "image/png;");
  fs::path short_marker_program = sandbox.root() / "bin" / "record-short";
  fs::copy_file(sandbox.marker_program(short_marker), short_marker_program);
  fs::path viewer = sandbox.add_application("ristretto", "Ristretto Image Viewer",
                                            short_marker_program.string() + " %f", "image/png;");
  // The long one's program must write its own marker: make it again.
  sandbox.marker_program(long_marker);

  testing_support::AnsweringChooser chooser;
  framework->launched();
  framework->open({picture});
  chooser.answer = long_app.string();
  choose("MAINWAP_ITEM_OPENWITHPOPUP", "Other…");
  chooser.answer = viewer.string();
  choose("MAINWAP_ITEM_OPENWITHPOPUP", "Other…");

  auto popup = element<PopUpButton>("popup button", "MAINWAP_ITEM_OPENWITHPOPUP");
  ASSERT_EQ(popup->menu()->item_count(), 6u);
  std::string long_row = popup->menu()->item(2)->title();
  EXPECT_EQ(long_row.substr(0, 20), long_name.substr(0, 20));
  EXPECT_EQ(long_row.substr(long_row.size() - 3), "…");
  EXPECT_EQ(popup->menu()->item(3)->title(), "Ristretto Image Viewer");

  choose("MAINWAP_ITEM_OPENWITHPOPUP", "Ristretto Image Viewer");
  click("openButton");
  EXPECT_EQ(launched_with(short_marker), picture);
  EXPECT_FALSE(fs::exists(long_marker));
  choose_row("MAINWAP_ITEM_OPENWITHPOPUP", 2);
  click("openButton");
  EXPECT_EQ(launched_with(long_marker), picture);
}

}  // namespace
