// Icons and separators as the window script calls them, by selector.
#include <gtest/gtest.h>

#include "prefs/userprefs.h"
#include "scriptkit/model/model.h"
#include "scriptkit/runtime/methods.h"
#include "shell/records.h"
#include "tests/support/file_sandbox.h"
#include "tests/support/sandbox.h"

using namespace scriptkit;
using testing_support::DesktopSandbox;
using testing_support::spec_of;
using testing_support::TempDir;

namespace {

class VeskaClassCalls : public ::testing::Test {
 protected:
  void SetUp() override {
    runtime::registry().add(ask_program_methods);
    G_INFO = {};
    G_USERPREFS = {};
    window = app->add_window("Main");
    view = window->add<model::ImageView>("icon");
    popup = window->add<model::PopUpButton>("menu");
  }

  void DisplayIcon(int which) {
    ValueList args{Value(std::static_pointer_cast<model::Element>(view)), Value(which)};
    auto result = runtime::registry().call("VeskaClass", "DisplayIcon:which:", args);
    ASSERT_FALSE(failed(result));
  }

  DesktopSandbox desktop;
  TempDir docs;
  std::shared_ptr<model::Application> app = std::make_shared<model::Application>();
  std::shared_ptr<model::Window> window;
  std::shared_ptr<model::ImageView> view;
  std::shared_ptr<model::PopUpButton> popup;
};

}  // namespace

TEST_F(VeskaClassCalls, NoChosenApplicationClearsTheImage) {
  view->set_image(model::Image::icon("old"));
  DisplayIcon(1);
  EXPECT_EQ(view->image().source, model::Image::Source::None);
}

TEST_F(VeskaClassCalls, ShowsThePicturesAndTheApplicationsIcons) {
  G_INFO.pictureSpec =
      spec_of(docs.write("p.png", std::string("\x89PNG\r\n\x1a\n", 8) + std::string(32, '\0')));
  DisplayIcon(0);
  EXPECT_EQ(view->image().source, model::Image::Source::IconName);
  EXPECT_EQ(view->image().name.rfind("image-png", 0), 0u);
  G_USERPREFS.openWithAppSpec =
      spec_of(desktop.add_application("painter", "Painter", "true %f", "", "Icon=painter\n"));
  DisplayIcon(1);
  EXPECT_EQ(view->image().name, "painter");
}

TEST_F(VeskaClassCalls, OtherWhichAndGoneItemsChangeNothing) {
  view->set_image(model::Image::icon("kept"));
  DisplayIcon(2);
  DisplayIcon(-1);
  auto gone = docs.write("gone.png", "x");
  G_INFO.pictureSpec = spec_of(gone);
  std::filesystem::remove(gone);
  DisplayIcon(0);
  EXPECT_EQ(view->image().name, "kept");
  DisplayIcon(0);  // the all-zero FSSpec of a picture that did not resolve
  EXPECT_EQ(view->image().name, "kept");
}

TEST_F(VeskaClassCalls, SeparatorsAreAppendedInCallOrder) {
  popup->menu()->add_item("First");
  ValueList args{Value(std::static_pointer_cast<model::Element>(popup))};
  ASSERT_FALSE(failed(runtime::registry().call("VeskaClass", "createSeparatorItem:", args)));
  popup->menu()->add_item("Second");
  ASSERT_FALSE(failed(runtime::registry().call("VeskaClass", "createSeparatorItem:", args)));
  ASSERT_EQ(popup->menu()->item_count(), 4u);
  EXPECT_TRUE(popup->menu()->item(1)->separator());
  EXPECT_EQ(popup->menu()->item(2)->title(), "Second");
  EXPECT_TRUE(popup->menu()->item(3)->separator());
}
