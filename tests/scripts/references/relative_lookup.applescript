tell window "Main"
  tell box "info"
    log contents of text field "name" -- expect:
    -- windows belong to the application wherever they are named
    log name of window "Main" -- expect: Main
    -- a control outside the box is not found from inside it
    log name of button "Trigger"
  end tell
end tell
-- expect runtime error: -1728 line 7: Can't get button "Trigger" of box "info" of window "Main".
