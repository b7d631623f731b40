tell window "Main"
  set state of button "MAINWAP_ITEM_ALWAYSOPENWITH" to 1
-- expect error: -2741 line 4: Expected "end" (to close "tell" at line 1) but found end of script.
