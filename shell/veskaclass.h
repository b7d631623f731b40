// The script-callable class VeskaClass: file icons in image views and
// separator rows in pop-up buttons.
#pragma once

#include "platform/types.h"
#include "scriptkit/runtime/methods.h"

// Shows the picture's icon (which 0) or the chosen application's (which 1).
void DisplayIcon(scriptkit::runtime::Object view, SInt32 which);
// Appends a separator row to the pop-up button's menu.
void createSeparatorItem(scriptkit::runtime::Object popup);
Boolean StringsAreEqual(ConstStr255Param a, ConstStr255Param b);
