// The table-view commands.
#include "window/tablecommands.h"

#include "window/scriptrunner.h"

OSStatus SetListColumnHeaderTitle(ConstStr255Param table, ConstStr255Param window, SInt32 column,
                                  ConstStr255Param title) {
  Str255 number;
  NumToString(column, number);
  return RunWindowPattern(window, nullptr,
                          "set title of header cell of table column ^2 of table view \"^1\" of "
                          "scroll view \"^1\" to \"^3\"\nupdate\n",
                          {table, number, title});
}

OSStatus DeleteAllListRows(ConstStr255Param table, ConstStr255Param window) {
  return RunWindowPattern(
      window, nullptr,
      "delete every data row of data source of table view \"^1\" of scroll view \"^1\"\n", {table});
}

OSStatus AddListRow(ConstStr255Param table, ConstStr255Param window) {
  return RunWindowPattern(window, nullptr,
                          "make new data row at end of data rows of data source of table view "
                          "\"^1\" of scroll view \"^1\"\n",
                          {table});
}

OSStatus SetListRowColumnText(ConstStr255Param table, ConstStr255Param window, SInt32 row,
                              ConstStr255Param column, ConstStr255Param text) {
  Str255 number;
  NumToString(row, number);
  return RunWindowPattern(window, nullptr,
                          "set contents of data cell \"^2\" of data row ^3 of data source of "
                          "table view \"^1\" of scroll view \"^1\" to \"^4\"\n",
                          {table, column, number, text});
}

OSStatus SetListSelection(ConstStr255Param table, ConstStr255Param window, SInt32 row) {
  Str255 number;
  NumToString(row, number);
  return RunWindowPattern(window, nullptr,
                          "set selected row of table view \"^1\" of scroll view \"^1\" to ^2\n",
                          {table, number});
}

OSStatus DeselectListRows(ConstStr255Param table, ConstStr255Param window) {
  return RunWindowPattern(window, nullptr,
                          "set selected rows of table view \"^1\" of scroll view \"^1\" to {}\n",
                          {table});
}

OSStatus ScrollListToRow(ConstStr255Param table, ConstStr255Param window, SInt32 row) {
  Str255 number;
  NumToString(row, number);
  return RunWindowPattern(window, nullptr,
                          "set theTable to table view \"^1\" of scroll view \"^1\"\ncall method "
                          "\"scrollRowToVisible:\" of object theTable with parameter ^2\n",
                          {table, number});
}

OSStatus SetListRowText(const char* table, const char* window, SInt32 row, const char* value) {
  char buffer[kSetListRowTextLimit + 1];
  PlainScriptText script;
  PlainScriptBegin(&script, buffer, sizeof buffer);
  PlainScriptAppendPattern(&script,
                           "tell window \"^1\"\nset contents of data row ^2 of data source of "
                           "table view \"^3\" of scroll view \"^3\" to ",
                           {window, PlainNumber(row).text, table});
  PlainScriptAppend(&script, value);
  PlainScriptAppend(&script, "\nend tell");
  return PlainScriptRun(&script);
}

OSStatus SetListMultiSelectExtending(const char* table, const char* window, SInt32 first,
                                     SInt32 count) {
  char buffer[kSetListMultiSelectLimit + 1];
  PlainScriptText script;
  PlainScriptBegin(&script, buffer, sizeof buffer);
  // The second number is the count of rows: the length of the range.
  PlainScriptAppendPattern(
      &script,
      "set theTable to table view \"^1\" of scroll view \"^1\" of window \"^2\"\n"
      "set tIndexLocation to ^3\nset tIndexLength to ^4\n"
      "set myRange to {tIndexLocation, tIndexLength}\n"
      "set myIndexSet to call method \"indexSetWithIndexesInRange:\" of class \"NSIndexSet\" "
      "with parameter myRange\n"
      "call method \"selectRowIndexes:byExtendingSelection:\" of theTable with parameters "
      "{myIndexSet, true}",
      {table, window, PlainNumber(first).text, PlainNumber(count).text});
  return PlainScriptRun(&script);
}
