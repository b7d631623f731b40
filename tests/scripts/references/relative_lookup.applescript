tell window "Main"
  tell box "info"
    log contents of text field "name" -- expect:
    -- not in the box: found in the window around it
    log name of button "Trigger" -- expect: Trigger
    log name of window "Main" -- expect: Main
  end tell
end tell
