#include "shell/veskaclass.h"

// FIXME: icons and separators are not built yet.
void DisplayIcon(scriptkit::runtime::Object, SInt32) {}
void createSeparatorItem(scriptkit::runtime::Object) {}

Boolean StringsAreEqual(ConstStr255Param a, ConstStr255Param b) {
  return CompareString(a, b, nullptr) == 0;
}
