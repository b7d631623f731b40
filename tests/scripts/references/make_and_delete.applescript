tell window "Main"
  tell popup button "MAINWAP_ITEM_OPENWITHPOPUP"
    make new menu item at end of menu items of menu with properties {title:"B"}
    make new menu item at beginning of menu items of menu with properties {title:"A"}
    set m to make new menu item at end of menu items of menu with properties {title:"C", enabled:false}
    log title of m -- expect: C
    log title of menu items -- expect: {"A", "B", "C"}
    log enabled of menu item 3 -- expect: false
    delete menu item 2
    log title of menu items -- expect: {"A", "C"}
    delete every menu item of menu
    log count of menu items -- expect: 0
  end tell
end tell
