#include "shell/veskaclass.h"

#include <memory>

#include "platform/cf.h"
#include "platform/workspace.h"
#include "prefs/fileutils.h"
#include "prefs/userprefs.h"
#include "scriptkit/model/controls.h"
#include "scriptkit/model/popup.h"
#include "shell/records.h"

using scriptkit::model::Image;
using scriptkit::model::ImageView;
using scriptkit::model::PopUpButton;

void DisplayIcon(scriptkit::runtime::Object view, SInt32 which) {
  auto imageView = std::dynamic_pointer_cast<ImageView>(view);
  if (!imageView) return;

  FSSpec spec;
  if (which == 0) {
    spec = G_INFO.pictureSpec;
  } else if (which == 1) {
    spec = G_USERPREFS.openWithAppSpec;
    const unsigned char empty[1] = {0};
    if (StringsAreEqual(spec.name, empty)) {
      imageView->set_image(Image());
      return;
    }
  } else {
    return;
  }

  CFStringRef path = CopyPOSIXPath(spec);
  if (path == nullptr) return;  // the item is gone: the view keeps what it shows
  char buffer[999];
  std::string file;
  if (CFStringGetCString(path, buffer, sizeof buffer, kCFStringEncodingMacRoman)) {
    CFStringRef macRomanPath =
        CFStringCreateWithCString(kCFAllocatorDefault, buffer, kCFStringEncodingMacRoman);
    file = macRomanPath->utf8;
    CFRelease(macRomanPath);
  } else {
    // A path without a Mac Roman form is still the item's path.
    file = path->utf8;
  }
  CFRelease(path);
  imageView->set_image(Image::icon(platform::icon_for_file(file)));
}

void createSeparatorItem(scriptkit::runtime::Object popup) {
  auto button = std::dynamic_pointer_cast<PopUpButton>(popup);
  if (!button) return;
  button->menu()->add_separator();
}

Boolean StringsAreEqual(ConstStr255Param a, ConstStr255Param b) {
  return CompareString(a, b, nullptr) == 0;
}
