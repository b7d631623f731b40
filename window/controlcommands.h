// Window commands for single controls: text fields, check boxes, any
// control's visibility and enabled state, progress indicators and pop-up
// buttons. Arguments: the control's name, the window's name, the box's name
// for the box forms, then the values. Names and texts are short texts; each
// command builds one script (see scriptrunner.h) and returns the status of
// SimpleRunAppleScript. A name the window lacks fails the run and changes
// nothing.
#pragma once

#include "platform/types.h"

// Replaces the field's whole contents.
OSStatus SetTextField(ConstStr255Param field, ConstStr255Param window, ConstStr255Param text);
OSStatus SetTextFieldInBoxText(ConstStr255Param field, ConstStr255Param window,
                               ConstStr255Param box, ConstStr255Param text);

// Turns the check box on (any state but 0) or off.
OSStatus SetCheckButtonState(ConstStr255Param button, ConstStr255Param window, Boolean state);
OSStatus SetCheckButtonInBoxState(ConstStr255Param button, ConstStr255Param window,
                                  ConstStr255Param box, Boolean state);

// Hides a control; only its visibility changes.
OSStatus Hide1Control(ConstStr255Param control, ConstStr255Param window);
OSStatus Hide1ControlInBox(ConstStr255Param control, ConstStr255Param window, ConstStr255Param box);
// Shows the control and enables it.
OSStatus Enable1Control(ConstStr255Param control, ConstStr255Param window);
OSStatus Enable1ControlInBox(ConstStr255Param control, ConstStr255Param window,
                             ConstStr255Param box);
// Shows the control and disables it: a disabled control stays visible.
OSStatus Disable1Control(ConstStr255Param control, ConstStr255Param window);
OSStatus Disable1ControlInBox(ConstStr255Param control, ConstStr255Param window,
                              ConstStr255Param box);

OSStatus HideProgressIndicator(ConstStr255Param indicator, ConstStr255Param window);
// Shows the indicator and enables it.
OSStatus EnableProgressIndicator(ConstStr255Param indicator, ConstStr255Param window);
// Starts the indicator's animation, then has the window redraw.
OSStatus StartChasingArrows(ConstStr255Param indicator, ConstStr255Param window);
// Stops the animation and changes nothing else.
OSStatus StopChasingArrows(ConstStr255Param indicator, ConstStr255Param window);

// Removes every row of the pop-up's menu, separators included.
OSStatus MyEmptyPopUp(ConstStr255Param popup, ConstStr255Param window);
OSStatus MyEmptyPopUpInBox(ConstStr255Param popup, ConstStr255Param window, ConstStr255Param box);
OSStatus DisableAllPopUpInBoxRows(ConstStr255Param popup, ConstStr255Param window,
                                  ConstStr255Param box);
// Adds one enabled row with the title, at the end of the menu when
// atBeginning is 0, else at its beginning. A title too long for the command
// is cut just enough to fit and ends in "…" (Mac Roman 0xC9): a row is
// always added, so the rows keep matching the list they stand for.
OSStatus AddRowToPopUpWithText(ConstStr255Param popup, ConstStr255Param window,
                               ConstStr255Param title, SInt16 atBeginning);
OSStatus AddRowToPopUpInBoxWithText(ConstStr255Param popup, ConstStr255Param window,
                                    ConstStr255Param box, ConstStr255Param title,
                                    SInt16 atBeginning);
// Hands the pop-up button to VeskaClass's createSeparatorItem:, which adds a
// separator row at the end of its menu.
OSStatus AddSeparatorRow(ConstStr255Param popup, ConstStr255Param window);
// Rows are counted from 0 here; the script counts from 1 (index + 1 in 16 bits).
OSStatus SetPopUpRowEnabled(ConstStr255Param popup, ConstStr255Param window, SInt16 index,
                            Boolean enabled);
OSStatus SetPopUpSelection(ConstStr255Param popup, ConstStr255Param window, SInt16 index);
OSStatus SetPopUpInBoxSelection(ConstStr255Param popup, ConstStr255Param window,
                                ConstStr255Param box, SInt16 index);
