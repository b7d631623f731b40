tell window "Main"
  tell box "info"
    log title of every menu item of popup button "units" -- expect: {"Pixels", "Inches", "Millimetres"}
    log count of menu items of menu of popup button "units" -- expect: 3
    log count every menu item of popup button "units" -- expect: 3
    log title of menu item "Inches" of popup button "units" -- expect: Inches
    log title of current menu item of popup button "units" -- expect: Pixels
    log index of menu item 2 of popup button "units" -- expect: 2
  end tell
  log name of every control -- expect: {"Trigger", "MAINWAP_ITEM_ALWAYSOPENWITH", "MAINWAP_ITEM_OPENWITHPOPUP", "size", "icon", "busy"}
end tell
