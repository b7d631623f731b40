// Window commands for table views. A table is addressed by one name that the
// table view and its enclosing scroll view share. Row and column numbers are
// written as given (rows count from 1). Each command returns the status of
// SimpleRunAppleScript.
#pragma once

#include "platform/types.h"

// Short-text commands (see scriptrunner.h for the envelope and the limit).
// Sets a column's header title (columns by number), then redraws the window.
OSStatus SetListColumnHeaderTitle(ConstStr255Param table, ConstStr255Param window, SInt32 column,
                                  ConstStr255Param title);
OSStatus DeleteAllListRows(ConstStr255Param table, ConstStr255Param window);
// Adds an empty row at the end.
OSStatus AddListRow(ConstStr255Param table, ConstStr255Param window);
// Writes one cell; cells are named after their column.
OSStatus SetListRowColumnText(ConstStr255Param table, ConstStr255Param window, SInt32 row,
                              ConstStr255Param column, ConstStr255Param text);
// Selects one row, dropping the selection before.
OSStatus SetListSelection(ConstStr255Param table, ConstStr255Param window, SInt32 row);
OSStatus DeselectListRows(ConstStr255Param table, ConstStr255Param window);
// Scrolls a row into view; the table method counts rows from 0.
OSStatus ScrollListToRow(ConstStr255Param table, ConstStr255Param window, SInt32 row);

// Plain-text commands: NUL-ended names, no 255-character limit.
// Sets a whole row to `value`, a script expression inserted as it is (a
// quoted text or a list of texts for the row's cells; the caller writes it).
// The whole text must fit in 9,999 characters; when it does not, nothing
// runs and the status is paramErr.
constexpr Size kSetListRowTextLimit = 9999;
OSStatus SetListRowText(const char* table, const char* window, SInt32 row, const char* value);
// Adds `count` rows from the 0-based row index `first` to the selection; rows
// selected before stay selected. The whole text must fit in 999 characters;
// when it does not, nothing runs and the status is paramErr.
constexpr Size kSetListMultiSelectLimit = 999;
OSStatus SetListMultiSelectExtending(const char* table, const char* window, SInt32 first,
                                     SInt32 count);
