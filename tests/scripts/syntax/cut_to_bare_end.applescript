tell window "Main"
set state of button "MAINWAP_ITEM_ALWAYSOPENWITH" to 1
end 
-- expect error: -2741 line 3: Expected "tell" but found end of line.
