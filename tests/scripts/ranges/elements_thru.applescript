tell window "Main"
  log name of buttons 1 thru 2 -- expect: {"Trigger", "MAINWAP_ITEM_ALWAYSOPENWITH"}
end tell
log count of (buttons 1 thru 2 of window "Main") -- expect: 2
