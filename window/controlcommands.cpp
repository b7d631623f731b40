// The control, progress and pop-up commands. Each builds its script in a short
// text on the stack: the envelope, its body lines, and runs it.
#include "window/controlcommands.h"

#include "window/scriptrunner.h"

namespace {

// `set <property> of <class> "<name>" to <value>` and its line feed.
void AddSetLine(Str255 script, const char* property, const char* cls, ConstStr255Param name,
                const char* value) {
  pstrappend(script, "set ");
  pstrappend(script, property);
  pstrappend(script, " of ");
  pstrappend(script, cls);
  pstrappend(script, " \"");
  pstrconcatescaped(script, name);
  pstrappend(script, "\" to ");
  pstrappend(script, value);
  pstrappend(script, "\n");
}

OSStatus SetText(ConstStr255Param field, ConstStr255Param window, ConstStr255Param box,
                 ConstStr255Param text) {
  Str255 script;
  BeginWindowCommand(script, window, box);
  pstrappend(script, "set contents of text field \"");
  pstrconcatescaped(script, field);
  pstrappend(script, "\" to \"");
  pstrconcatescaped(script, text);
  pstrappend(script, "\"\n");
  return RunWindowCommand(script, box != nullptr);
}

OSStatus SetCheckState(ConstStr255Param button, ConstStr255Param window, ConstStr255Param box,
                       Boolean state) {
  Str255 script;
  BeginWindowCommand(script, window, box);
  AddSetLine(script, "state", "button", button, state ? "1" : "0");
  return RunWindowCommand(script, box != nullptr);
}

OSStatus HideControl(ConstStr255Param control, ConstStr255Param window, ConstStr255Param box) {
  Str255 script;
  BeginWindowCommand(script, window, box);
  AddSetLine(script, "visible", "control", control, "false");
  return RunWindowCommand(script, box != nullptr);
}

// Shows a control of a class and sets its enabled state.
OSStatus ShowAndEnable(const char* cls, ConstStr255Param control, ConstStr255Param window,
                       ConstStr255Param box, bool enabled) {
  Str255 script;
  BeginWindowCommand(script, window, box);
  AddSetLine(script, "visible", cls, control, "true");
  AddSetLine(script, "enabled", cls, control, enabled ? "true" : "false");
  return RunWindowCommand(script, box != nullptr);
}

OSStatus EmptyPopUp(ConstStr255Param popup, ConstStr255Param window, ConstStr255Param box) {
  Str255 script;
  BeginWindowCommand(script, window, box);
  pstrappend(script, "delete every menu item of menu of popup button \"");
  pstrconcatescaped(script, popup);
  pstrappend(script, "\"\n");
  return RunWindowCommand(script, box != nullptr);
}

// The characters a text takes once escaped: every escape of ScriptEscape is
// two characters long.
int EscapedLength(unsigned char c) {
  return ScriptEscape(c) != nullptr ? 2 : 1;
}

// Appends a title escaped, shortened when it would take more than `room`
// characters: as many of its first characters as leave room for a closing
// ellipsis (Mac Roman 0xC9), then the ellipsis.
void AddTitleWithin(Str255 script, ConstStr255Param title, int room) {
  int length = 0;
  for (int i = 1; i <= title[0]; ++i) length += EscapedLength(title[i]);
  if (length <= room) {
    pstrconcatescaped(script, title);
    return;
  }
  Str255 shortened;
  shortened[0] = 0;
  for (int i = 1, used = 0; i <= title[0] && used + EscapedLength(title[i]) < room; ++i) {
    used += EscapedLength(title[i]);
    shortened[++shortened[0]] = title[i];
  }
  pstrconcatescaped(script, shortened);
  if (room > 0) pstrappend(script, "\xC9");
}

OSStatus AddPopUpRow(ConstStr255Param popup, ConstStr255Param window, ConstStr255Param box,
                     ConstStr255Param title, SInt16 atBeginning) {
  static const char kRowEnd[] = "\", enabled:true}\n";
  static const int kWindowEnd = 8;  // "end tell", and "end tell\n" more for a box
  Str255 script;
  BeginWindowCommand(script, window, box);
  if (atBeginning == 0) {
    pstrappend(script, "make new menu item at the end of menu items of menu of popup button \"");
  } else {
    pstrappend(script,
               "make new menu item at the beginning of menu items of menu of popup button \"");
  }
  pstrconcatescaped(script, popup);
  pstrappend(script, "\" with properties {title:\"");
  // Every row is added: a title too long for the command is shortened, so
  // that the rows always match the list they stand for.
  int ends = box != nullptr ? 2 * kWindowEnd + 1 : kWindowEnd;
  AddTitleWithin(script, title, 255 - script[0] - (static_cast<int>(sizeof kRowEnd) - 1) - ends);
  pstrappend(script, kRowEnd);
  return RunWindowCommand(script, box != nullptr);
}

// `menu item <index + 1> of menu of popup button "<popup>"`, the sum in 16 bits.
void AddMenuItemReference(Str255 script, ConstStr255Param popup, SInt16 index) {
  SInt16 row = static_cast<SInt16>(index + 1);
  pstrappend(script, "menu item ");
  pstrconcatnumber(script, row);
  pstrappend(script, " of menu of popup button \"");
  pstrconcatescaped(script, popup);
  pstrappend(script, "\"");
}

OSStatus SelectPopUpRow(ConstStr255Param popup, ConstStr255Param window, ConstStr255Param box,
                        SInt16 index) {
  Str255 script;
  BeginWindowCommand(script, window, box);
  pstrappend(script, "set current menu item of popup button \"");
  pstrconcatescaped(script, popup);
  pstrappend(script, "\" to ");
  AddMenuItemReference(script, popup, index);
  pstrappend(script, "\n");
  return RunWindowCommand(script, box != nullptr);
}

}  // namespace

OSStatus SetTextField(ConstStr255Param field, ConstStr255Param window, ConstStr255Param text) {
  return SetText(field, window, nullptr, text);
}

OSStatus SetTextFieldInBoxText(ConstStr255Param field, ConstStr255Param window,
                               ConstStr255Param box, ConstStr255Param text) {
  return SetText(field, window, box, text);
}

OSStatus SetCheckButtonState(ConstStr255Param button, ConstStr255Param window, Boolean state) {
  return SetCheckState(button, window, nullptr, state);
}

OSStatus SetCheckButtonInBoxState(ConstStr255Param button, ConstStr255Param window,
                                  ConstStr255Param box, Boolean state) {
  return SetCheckState(button, window, box, state);
}

OSStatus Hide1Control(ConstStr255Param control, ConstStr255Param window) {
  return HideControl(control, window, nullptr);
}

OSStatus Hide1ControlInBox(ConstStr255Param control, ConstStr255Param window,
                           ConstStr255Param box) {
  return HideControl(control, window, box);
}

OSStatus Enable1Control(ConstStr255Param control, ConstStr255Param window) {
  return ShowAndEnable("control", control, window, nullptr, true);
}

OSStatus Enable1ControlInBox(ConstStr255Param control, ConstStr255Param window,
                             ConstStr255Param box) {
  return ShowAndEnable("control", control, window, box, true);
}

OSStatus Disable1Control(ConstStr255Param control, ConstStr255Param window) {
  return ShowAndEnable("control", control, window, nullptr, false);
}

OSStatus Disable1ControlInBox(ConstStr255Param control, ConstStr255Param window,
                              ConstStr255Param box) {
  return ShowAndEnable("control", control, window, box, false);
}

OSStatus HideProgressIndicator(ConstStr255Param indicator, ConstStr255Param window) {
  Str255 script;
  BeginWindowCommand(script, window, nullptr);
  AddSetLine(script, "visible", "progress indicator", indicator, "false");
  return RunWindowCommand(script, false);
}

OSStatus EnableProgressIndicator(ConstStr255Param indicator, ConstStr255Param window) {
  return ShowAndEnable("progress indicator", indicator, window, nullptr, true);
}

OSStatus StartChasingArrows(ConstStr255Param indicator, ConstStr255Param window) {
  Str255 script;
  BeginWindowCommand(script, window, nullptr);
  pstrappend(script, "tell progress indicator \"");
  pstrconcatescaped(script, indicator);
  pstrappend(script, "\"\n");
  AddCommandLine(script, "start");
  AddCommandLine(script, "end tell");
  AddCommandLine(script, "update");
  return RunWindowCommand(script, false);
}

OSStatus StopChasingArrows(ConstStr255Param indicator, ConstStr255Param window) {
  Str255 script;
  BeginWindowCommand(script, window, nullptr);
  pstrappend(script, "tell progress indicator \"");
  pstrconcatescaped(script, indicator);
  pstrappend(script, "\"\n");
  AddCommandLine(script, "stop");
  AddCommandLine(script, "end tell");
  return RunWindowCommand(script, false);
}

OSStatus MyEmptyPopUp(ConstStr255Param popup, ConstStr255Param window) {
  return EmptyPopUp(popup, window, nullptr);
}

OSStatus MyEmptyPopUpInBox(ConstStr255Param popup, ConstStr255Param window, ConstStr255Param box) {
  return EmptyPopUp(popup, window, box);
}

OSStatus DisableAllPopUpInBoxRows(ConstStr255Param popup, ConstStr255Param window,
                                  ConstStr255Param box) {
  Str255 script;
  BeginWindowCommand(script, window, box);
  AddSetLine(script, "enabled of every menu item", "popup button", popup, "false");
  return RunWindowCommand(script, true);
}

OSStatus AddRowToPopUpWithText(ConstStr255Param popup, ConstStr255Param window,
                               ConstStr255Param title, SInt16 atBeginning) {
  return AddPopUpRow(popup, window, nullptr, title, atBeginning);
}

OSStatus AddRowToPopUpInBoxWithText(ConstStr255Param popup, ConstStr255Param window,
                                    ConstStr255Param box, ConstStr255Param title,
                                    SInt16 atBeginning) {
  return AddPopUpRow(popup, window, box, title, atBeginning);
}

OSStatus AddSeparatorRow(ConstStr255Param popup, ConstStr255Param window) {
  Str255 script;
  BeginWindowCommand(script, window, nullptr);
  pstrappend(script, "set theMenu to popup button \"");
  pstrconcatescaped(script, popup);
  pstrappend(script, "\"\n");
  AddCommandLine(script,
                 "call method \"createSeparatorItem:\" of class \"VeskaClass\" with parameters "
                 "{theMenu}");
  return RunWindowCommand(script, false);
}

OSStatus SetPopUpRowEnabled(ConstStr255Param popup, ConstStr255Param window, SInt16 index,
                            Boolean enabled) {
  Str255 script;
  BeginWindowCommand(script, window, nullptr);
  pstrappend(script, "set enabled of ");
  AddMenuItemReference(script, popup, index);
  pstrappend(script, enabled ? " to true\n" : " to false\n");
  return RunWindowCommand(script, false);
}

OSStatus SetPopUpSelection(ConstStr255Param popup, ConstStr255Param window, SInt16 index) {
  return SelectPopUpRow(popup, window, nullptr, index);
}

OSStatus SetPopUpInBoxSelection(ConstStr255Param popup, ConstStr255Param window,
                                ConstStr255Param box, SInt16 index) {
  return SelectPopUpRow(popup, window, box, index);
}
