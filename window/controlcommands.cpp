// The control, progress and pop-up commands. Each builds its script in a short
// text on the stack: the envelope, its body lines, and runs it.
#include "window/controlcommands.h"

#include "window/scriptrunner.h"

namespace {

// The classes, properties and values of the window model that the commands
// below name in their `set` lines.
constexpr PascalLiteral kButtonClass = "button";
constexpr PascalLiteral kControlClass = "control";
constexpr PascalLiteral kProgressIndicatorClass = "progress indicator";
constexpr PascalLiteral kPopUpButtonClass = "popup button";
constexpr PascalLiteral kStateProperty = "state";
constexpr PascalLiteral kVisibleProperty = "visible";
constexpr PascalLiteral kEnabledProperty = "enabled";
constexpr PascalLiteral kEveryMenuItemEnabled = "enabled of every menu item";

ConstStr255Param BooleanText(bool value) {
  static constexpr PascalLiteral kTrue = "true";
  static constexpr PascalLiteral kFalse = "false";
  return value ? kTrue : kFalse;
}

// `set <property> of <class> "<name>" to <value>` and its line feed.
void AddSetLine(Str255 script, ConstStr255Param property, ConstStr255Param cls,
                ConstStr255Param name, ConstStr255Param value) {
  AddCommandPattern(script, "set ^1 of ^2 \"^3\" to ^4\n", {property, cls, name, value});
}

// One `set` line as a whole command.
OSStatus RunSetLine(ConstStr255Param window, ConstStr255Param box, ConstStr255Param property,
                    ConstStr255Param cls, ConstStr255Param name, ConstStr255Param value) {
  Str255 script;
  BeginWindowCommand(script, window, box);
  AddSetLine(script, property, cls, name, value);
  return RunWindowCommand(script, box != nullptr);
}

OSStatus SetText(ConstStr255Param field, ConstStr255Param window, ConstStr255Param box,
                 ConstStr255Param text) {
  return RunWindowPattern(window, box, "set contents of text field \"^1\" to \"^2\"\n",
                          {field, text});
}

OSStatus SetCheckState(ConstStr255Param button, ConstStr255Param window, ConstStr255Param box,
                       Boolean state) {
  return RunSetLine(window, box, kStateProperty, kButtonClass, button,
                    state ? PSTR("1") : PSTR("0"));
}

// Shows a control of a class and sets its enabled state.
OSStatus ShowAndEnable(ConstStr255Param cls, ConstStr255Param control, ConstStr255Param window,
                       ConstStr255Param box, bool enabled) {
  Str255 script;
  BeginWindowCommand(script, window, box);
  AddSetLine(script, kVisibleProperty, cls, control, BooleanText(true));
  AddSetLine(script, kEnabledProperty, cls, control, BooleanText(enabled));
  return RunWindowCommand(script, box != nullptr);
}

OSStatus EmptyPopUp(ConstStr255Param popup, ConstStr255Param window, ConstStr255Param box) {
  return RunWindowPattern(window, box, "delete every menu item of menu of popup button \"^1\"\n",
                          {popup});
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
  static constexpr char kRowEnd[] = "\", enabled:true}\n";
  static constexpr int kWindowEnd = 8;  // "end tell", and "end tell\n" more for a box
  Str255 script;
  BeginWindowCommand(script, window, box);
  AddCommandPattern(script,
                    atBeginning == 0 ? "make new menu item at the end of menu items of menu of "
                                       "popup button \"^1\" with properties {title:\""
                                     : "make new menu item at the beginning of menu items of "
                                       "menu of popup button \"^1\" with properties {title:\"",
                    {popup});
  // Every row is added: a title too long for the command is shortened, so
  // that the rows always match the list they stand for.
  int ends = box != nullptr ? 2 * kWindowEnd + 1 : kWindowEnd;
  AddTitleWithin(script, title, 255 - script[0] - (static_cast<int>(sizeof kRowEnd) - 1) - ends);
  pstrappend(script, kRowEnd);
  return RunWindowCommand(script, box != nullptr);
}

// The script's row number of a 0-based index: index + 1, in 16 bits.
void GetRowNumber(SInt16 index, Str255 row) {
  NumToString(static_cast<SInt16>(index + 1), row);
}

OSStatus SelectPopUpRow(ConstStr255Param popup, ConstStr255Param window, ConstStr255Param box,
                        SInt16 index) {
  Str255 row;
  GetRowNumber(index, row);
  return RunWindowPattern(
      window, box,
      "set current menu item of popup button \"^1\" to menu item ^2 of menu of popup button "
      "\"^1\"\n",
      {popup, row});
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
  return RunSetLine(window, nullptr, kVisibleProperty, kControlClass, control, BooleanText(false));
}

OSStatus Hide1ControlInBox(ConstStr255Param control, ConstStr255Param window,
                           ConstStr255Param box) {
  return RunSetLine(window, box, kVisibleProperty, kControlClass, control, BooleanText(false));
}

OSStatus Enable1Control(ConstStr255Param control, ConstStr255Param window) {
  return ShowAndEnable(kControlClass, control, window, nullptr, true);
}

OSStatus Enable1ControlInBox(ConstStr255Param control, ConstStr255Param window,
                             ConstStr255Param box) {
  return ShowAndEnable(kControlClass, control, window, box, true);
}

OSStatus Disable1Control(ConstStr255Param control, ConstStr255Param window) {
  return ShowAndEnable(kControlClass, control, window, nullptr, false);
}

OSStatus Disable1ControlInBox(ConstStr255Param control, ConstStr255Param window,
                              ConstStr255Param box) {
  return ShowAndEnable(kControlClass, control, window, box, false);
}

OSStatus HideProgressIndicator(ConstStr255Param indicator, ConstStr255Param window) {
  return RunSetLine(window, nullptr, kVisibleProperty, kProgressIndicatorClass, indicator,
                    BooleanText(false));
}

OSStatus EnableProgressIndicator(ConstStr255Param indicator, ConstStr255Param window) {
  return ShowAndEnable(kProgressIndicatorClass, indicator, window, nullptr, true);
}

OSStatus StartChasingArrows(ConstStr255Param indicator, ConstStr255Param window) {
  return RunWindowPattern(window, nullptr,
                          "tell progress indicator \"^1\"\nstart\nend tell\nupdate\n", {indicator});
}

OSStatus StopChasingArrows(ConstStr255Param indicator, ConstStr255Param window) {
  return RunWindowPattern(window, nullptr, "tell progress indicator \"^1\"\nstop\nend tell\n",
                          {indicator});
}

OSStatus MyEmptyPopUp(ConstStr255Param popup, ConstStr255Param window) {
  return EmptyPopUp(popup, window, nullptr);
}

OSStatus MyEmptyPopUpInBox(ConstStr255Param popup, ConstStr255Param window, ConstStr255Param box) {
  return EmptyPopUp(popup, window, box);
}

OSStatus DisableAllPopUpInBoxRows(ConstStr255Param popup, ConstStr255Param window,
                                  ConstStr255Param box) {
  return RunSetLine(window, box, kEveryMenuItemEnabled, kPopUpButtonClass, popup,
                    BooleanText(false));
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
  return RunWindowPattern(window, nullptr,
                          "set theMenu to popup button \"^1\"\ncall method "
                          "\"createSeparatorItem:\" of class \"VeskaClass\" with parameters "
                          "{theMenu}\n",
                          {popup});
}

OSStatus SetPopUpRowEnabled(ConstStr255Param popup, ConstStr255Param window, SInt16 index,
                            Boolean enabled) {
  Str255 row;
  GetRowNumber(index, row);
  return RunWindowPattern(window, nullptr,
                          "set enabled of menu item ^2 of menu of popup button \"^1\" to ^3\n",
                          {popup, row, BooleanText(enabled)});
}

OSStatus SetPopUpSelection(ConstStr255Param popup, ConstStr255Param window, SInt16 index) {
  return SelectPopUpRow(popup, window, nullptr, index);
}

OSStatus SetPopUpInBoxSelection(ConstStr255Param popup, ConstStr255Param window,
                                ConstStr255Param box, SInt16 index) {
  return SelectPopUpRow(popup, window, box, index);
}
