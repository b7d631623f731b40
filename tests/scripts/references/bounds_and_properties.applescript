tell window "Main"
  set b to bounds of button "Trigger"
  log b -- expect: {10, 10, 20, 30}
  set bounds of button "Trigger" to {0, 0, 5, 5}
  log bounds of button "Trigger" -- expect: {0, 0, 5, 5}
  log visible of control "Trigger" -- expect: false
  log class of popup button "MAINWAP_ITEM_OPENWITHPOPUP" -- expect: popup button
  set image of image view "icon" to "folder"
  log image of image view "icon" -- expect: folder
  log it -- expect: window "Main"
end tell
