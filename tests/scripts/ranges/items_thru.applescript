set theList to {"a", "b", "c", "d"}
log items 2 thru 3 of theList -- expect: {"b", "c"}
log items 2 through -1 of theList -- expect: {"b", "c", "d"}
log items -2 thru -1 of theList -- expect: {"c", "d"}
log items 3 thru 2 of theList -- expect: {"b", "c"}
log item 2 thru 3 of theList -- expect: {"b", "c"}
set i to 1
log items i thru (i + 1) of theList -- expect: {"a", "b"}
set part to items 1 thru 2 of theList
set item 1 of part to "z"
log item 1 of theList -- expect: a
