// The table-view commands.
#include "window/tablecommands.h"

#include "window/scriptrunner.h"

namespace {

// `table view "<table>" of scroll view "<table>"`.
void AddTableReference(Str255 script, ConstStr255Param table) {
  pstrappend(script, "table view \"");
  pstrconcatescaped(script, table);
  pstrappend(script, "\" of scroll view \"");
  pstrconcatescaped(script, table);
  pstrappend(script, "\"");
}

// `data source of table view "<table>" of scroll view "<table>"`.
void AddDataSourceReference(Str255 script, ConstStr255Param table) {
  pstrappend(script, "data source of ");
  AddTableReference(script, table);
}

void PlainAddTableReference(PlainScriptText* script, const char* table) {
  PlainScriptAppend(script, "table view \"");
  PlainScriptAppendEscaped(script, table);
  PlainScriptAppend(script, "\" of scroll view \"");
  PlainScriptAppendEscaped(script, table);
  PlainScriptAppend(script, "\"");
}

}  // namespace

OSStatus SetListColumnHeaderTitle(ConstStr255Param table, ConstStr255Param window, SInt32 column,
                                  ConstStr255Param title) {
  Str255 script;
  BeginWindowCommand(script, window, nullptr);
  pstrappend(script, "set title of header cell of table column ");
  pstrconcatnumber(script, column);
  pstrappend(script, " of ");
  AddTableReference(script, table);
  pstrappend(script, " to \"");
  pstrconcatescaped(script, title);
  pstrappend(script, "\"\n");
  AddCommandLine(script, "update");
  return RunWindowCommand(script, false);
}

OSStatus DeleteAllListRows(ConstStr255Param table, ConstStr255Param window) {
  Str255 script;
  BeginWindowCommand(script, window, nullptr);
  pstrappend(script, "delete every data row of ");
  AddDataSourceReference(script, table);
  pstrappend(script, "\n");
  return RunWindowCommand(script, false);
}

OSStatus AddListRow(ConstStr255Param table, ConstStr255Param window) {
  Str255 script;
  BeginWindowCommand(script, window, nullptr);
  pstrappend(script, "make new data row at end of data rows of ");
  AddDataSourceReference(script, table);
  pstrappend(script, "\n");
  return RunWindowCommand(script, false);
}

OSStatus SetListRowColumnText(ConstStr255Param table, ConstStr255Param window, SInt32 row,
                              ConstStr255Param column, ConstStr255Param text) {
  Str255 script;
  BeginWindowCommand(script, window, nullptr);
  pstrappend(script, "set contents of data cell \"");
  pstrconcatescaped(script, column);
  pstrappend(script, "\" of data row ");
  pstrconcatnumber(script, row);
  pstrappend(script, " of ");
  AddDataSourceReference(script, table);
  pstrappend(script, " to \"");
  pstrconcatescaped(script, text);
  pstrappend(script, "\"\n");
  return RunWindowCommand(script, false);
}

OSStatus SetListSelection(ConstStr255Param table, ConstStr255Param window, SInt32 row) {
  Str255 script;
  BeginWindowCommand(script, window, nullptr);
  pstrappend(script, "set selected row of ");
  AddTableReference(script, table);
  pstrappend(script, " to ");
  pstrconcatnumber(script, row);
  pstrappend(script, "\n");
  return RunWindowCommand(script, false);
}

OSStatus DeselectListRows(ConstStr255Param table, ConstStr255Param window) {
  Str255 script;
  BeginWindowCommand(script, window, nullptr);
  pstrappend(script, "set selected rows of ");
  AddTableReference(script, table);
  pstrappend(script, " to {}\n");
  return RunWindowCommand(script, false);
}

OSStatus ScrollListToRow(ConstStr255Param table, ConstStr255Param window, SInt32 row) {
  Str255 script;
  BeginWindowCommand(script, window, nullptr);
  pstrappend(script, "set theTable to ");
  AddTableReference(script, table);
  pstrappend(script, "\n");
  pstrappend(script, "call method \"scrollRowToVisible:\" of object theTable with parameter ");
  pstrconcatnumber(script, row);
  pstrappend(script, "\n");
  return RunWindowCommand(script, false);
}

OSStatus SetListRowText(const char* table, const char* window, SInt32 row, const char* value) {
  char buffer[kSetListRowTextLimit + 1];
  PlainScriptText script;
  PlainScriptBegin(&script, buffer, sizeof buffer);
  PlainScriptAppend(&script, "tell window \"");
  PlainScriptAppendEscaped(&script, window);
  PlainScriptAppend(&script, "\"\nset contents of data row ");
  PlainScriptAppendNumber(&script, row);
  PlainScriptAppend(&script, " of data source of ");
  PlainAddTableReference(&script, table);
  PlainScriptAppend(&script, " to ");
  PlainScriptAppend(&script, value);
  PlainScriptAppend(&script, "\nend tell");
  return PlainScriptRun(&script);
}

OSStatus SetListMultiSelectExtending(const char* table, const char* window, SInt32 first,
                                     SInt32 count) {
  char buffer[kSetListMultiSelectLimit + 1];
  PlainScriptText script;
  PlainScriptBegin(&script, buffer, sizeof buffer);
  PlainScriptAppend(&script, "set theTable to ");
  PlainAddTableReference(&script, table);
  PlainScriptAppend(&script, " of window \"");
  PlainScriptAppendEscaped(&script, window);
  PlainScriptAppend(&script, "\"\nset tIndexLocation to ");
  PlainScriptAppendNumber(&script, first);
  // The second number is the count of rows: the length of the range.
  PlainScriptAppend(&script, "\nset tIndexLength to ");
  PlainScriptAppendNumber(&script, count);
  PlainScriptAppend(&script,
                    "\nset myRange to {tIndexLocation, tIndexLength}\n"
                    "set myIndexSet to call method \"indexSetWithIndexesInRange:\" of class "
                    "\"NSIndexSet\" with parameter myRange\n"
                    "call method \"selectRowIndexes:byExtendingSelection:\" of theTable with "
                    "parameters {myIndexSet, true}");
  return PlainScriptRun(&script);
}
