log text items of "a,b" -- expect: {"a", ",", "b"}
set oldDelimiters to AppleScript's text item delimiters
set AppleScript's text item delimiters to ","
log text items of "a,b,,c" -- expect: {"a", "b", "", "c"}
log text item 2 of "a,b,c" -- expect: b
log text items 2 thru 3 of "a,b,c" -- expect: {"b", "c"}
log text item delimiters -- expect: {","}
log {"x", "y", 3} as text -- expect: x,y,3
set text item delimiters to {"; ", "/"}
log every text item of "a/b; c" -- expect: {"a", "b", "c"}
log "list: " & {1, 2} -- expect: list: 1; 2
set AppleScript's text item delimiters to oldDelimiters
log {"x", "y"} as text -- expect: xy
log text items of "ab" -- expect: {"a", "b"}
