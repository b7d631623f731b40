tell window "Main"
  set t to table view "files" of scroll view "files"
  log title of header cell of table column 1 of t -- expect: Name
  log name of table columns of t -- expect: {"name", "size"}
  repeat 3 times
    make new data row at end of data rows of data source of t
  end repeat
  set contents of data cell "size" of data row 2 of data source of t to 12
  log contents of data row 2 of data source of t -- expect: {"", "12"}
  set selected rows of t to {3, 1}
  log selected rows of t -- expect: {1, 3}
  log selected row of t -- expect: 1
  call method "selectRowIndexes:byExtendingSelection:" of object t with parameters {call method "indexSetWithIndex:" of class "NSIndexSet" with parameter 1, false}
  log selected rows of t -- expect: {2}
  log (call method "numberOfRows" of t) -- expect: 3
end tell
