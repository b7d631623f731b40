tell window "Main"
  try
    make new menu item at end of menu items of menu of popup button "MAINWAP_ITEM_OPENWITHPOPUP" with properties {title:"A", colour:"red"}
  on error m number n
    log n -- expect: -10006
  end try
  log count of menu items of popup button "MAINWAP_ITEM_OPENWITHPOPUP" -- expect: 0
end tell
