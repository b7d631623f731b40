tell window "Main"
  log class of button "Trigger" is button -- expect: true
  log class of text field "size" -- expect: text field
  log class of popup button "MAINWAP_ITEM_OPENWITHPOPUP" is popup button -- expect: true
  log class of button "Trigger" is text field -- expect: false
end tell
log class of window "Main" is window -- expect: true
