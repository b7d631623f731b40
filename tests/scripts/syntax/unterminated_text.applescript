-- expect error: -2741 line 3: Expected '"' (to close the text at line 3) but found end of script.
tell window "Main"
make new menu item at the end of menu items of menu of popup button "MAINWAP_ITEM_OPENWITHPOPUP" with properties {title:"Oth