tell window "Main"
set a to bounds of button "Trigger"
set item 3 of a to (item 3 of a) + 1
set bounds of button "Trigger" to a
end tell
log bounds of button "Trigger" of window "Main" -- expect: {10, 10, 21, 30}
