// A window like the program's "Main", built in code, for the script tests of
// the language, the scripting component and the window commands.
#pragma once

#include <memory>

#include "scriptkit/model/model.h"

namespace sample {

using namespace scriptkit::model;

struct SampleWindow {
  std::shared_ptr<Application> app = std::make_shared<Application>();
  std::shared_ptr<Window> main;
  std::shared_ptr<Button> trigger;
  std::shared_ptr<Button> always;
  std::shared_ptr<PopUpButton> open_with;
  std::shared_ptr<TextField> size;
  std::shared_ptr<Box> info;
  std::shared_ptr<TextField> info_name;
  std::shared_ptr<Button> info_check;
  std::shared_ptr<PopUpButton> units;
  std::shared_ptr<ImageView> icon;
  std::shared_ptr<ProgressIndicator> busy;
  std::shared_ptr<TableView> files;

  SampleWindow() {
    main = app->add_window("Main");
    main->set_title("tavrine");
    trigger = main->add<Button>("Trigger");
    trigger->set_bounds({10, 10, 20, 30});
    trigger->set_visible(false);
    always = main->add<Button>("MAINWAP_ITEM_ALWAYSOPENWITH");
    always->set_style(Button::Style::CheckBox);
    open_with = main->add<PopUpButton>("MAINWAP_ITEM_OPENWITHPOPUP");
    size = main->add<TextField>("size");
    info = main->add<Box>("info");
    info_name = info->add<TextField>("name");
    info_check = info->add<Button>("keep");
    info_check->set_style(Button::Style::CheckBox);
    units = info->add<PopUpButton>("units");
    for (const char* unit : {"Pixels", "Inches", "Millimetres"}) units->menu()->add_item(unit);
    icon = main->add<ImageView>("icon");
    busy = main->add<ProgressIndicator>("busy");
    auto scroll = main->add<ScrollView>("files");
    files = scroll->add_table_view();
    files->add_column("name", "Name");
    files->add_column("size", "Size");
  }
};

}  // namespace sample
