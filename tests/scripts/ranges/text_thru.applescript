log text 2 thru 3 of "abcd" -- expect: bc
log text 2 thru -1 of "abcd" -- expect: bcd
log text -3 thru -2 of "abcd" -- expect: bc
log text 1 thru 2 of "éàü" -- expect: éà
log characters 1 thru 3 of "abcd" -- expect: {"a", "b", "c"}
log words 2 thru 3 of "one two three four" -- expect: {"two", "three"}
log paragraphs 1 thru 2 of ("a" & return & "b" & return & "c") -- expect: {"a", "b"}
log text 2 of "abc" -- expect: b
log every character of "abc" -- expect: {"a", "b", "c"}
