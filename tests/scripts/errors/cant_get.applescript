tell window "Main"
  set state of button "MAINWAP_ITEM_ALWAYSOPENWITH" to 1
  set state of button "nope" to 1
end tell
-- expect runtime error: -1728 line 3: Can't get button "nope" of window "Main".
