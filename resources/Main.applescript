-- Main.applescript: the window script of tavrine, the program's top-level flow.
--
-- The window "Main" (Main.layout) shows one picture at a time. The script calls
-- the native operations by name with `call method`; they answer by changing the
-- window (the open-with pop-up, the always-open-with check box, the icons) and
-- the shared values: strings 0 (the picture's path), 1 (its colour profile),
-- 2 (its size), 6 (its application's path), integers 3 (the units), 4 and 5
-- (the document's units for widths and heights).
--
-- The road of one picture, in the order the native operations need it:
--   at launch       __GetPreferences, then __InstallEventHandlers
--   for a picture   its path as shared string 0, __GetPictureInfo, strings 1, 2, 6,
--                   __LoadOpenWithListPopUp, __SetInitialOpenWithPopUpStatus,
--                   the units and __HandleDimensionsUnitsChange, both icons
--   on a choice     __HandleOpenWithPopUpSelection:withValue:, then the row it left
--                   selected is recorded for a cancelled "Other…" to return to
--   on Open         __MyLaunchApplication
--   on Reveal       __HandleRevealFolder:withValue: with the folder's level
--   on a change     __SavePreferences, and at quit
-- A double-click with the layout program's cursor nudges the hidden button
-- "Trigger"; the script then shows the picture afresh and comes forward.

property thePicturePath : "" -- the picture shown; "" until one arrives
property theFolderCount : 0 -- the folders on its path, one for each "/"
property thePixelText : "" -- its size in pixels, as the picture information gave it

-- The rows of the units pop-up and the unit each stands for (shared integer 3).
-- Pixels need no change of units: the size in pixels is shown as it came.
property theUnitNames : {"Pixels", "Document units", "Inches", "Millimetres", "Centimetres", "Points", "Picas"}
property theUnitCodes : {-1, 0, 2, 3, 4, 5, 6}
-- The rows of the two document-unit pop-ups and their unit codes (integers 4, 5).
property theDocumentUnitNames : {"Inches", "Millimetres", "Centimetres", "Points", "Picas"}
property theDocumentUnitCodes : {0, 1, 7, 4, 3}

on launched theObject
  call method "__GetPreferences"
  call method "__InstallEventHandlers"
  -- The units chosen last time, kept in the user defaults.
  call method "registerDefaults:" of class "UserDefaults" with parameter {units:"Pixels", horizontalUnits:"Millimetres", verticalUnits:"Millimetres"}
  tell window "Main"
    my chooseRow(popup button "unitsPopUp", my storedValue("units"))
    my chooseRow(popup button "docHorizontalUnitsPopUp", my storedValue("horizontalUnits"))
    my chooseRow(popup button "docVerticalUnitsPopUp", my storedValue("verticalUnits"))
  end tell
  setUnits()
end launched

on open theFiles
  if (count of theFiles) > 0 then showPicture(item 1 of theFiles)
end open

on clicked theObject
  set theName to name of theObject
  if theName is "openButton" then
    call method "__MyLaunchApplication"
  else if theName is "revealButton" then
    revealFolder()
  else if theName is "MAINWAP_ITEM_ALWAYSOPENWITH" then
    call method "__UpdateAlwaysOpenWithGlobal:" with parameter (state of theObject)
  end if
end clicked

on choose menu item theObject
  set theName to name of theObject
  if theName is "MAINWAP_ITEM_OPENWITHPOPUP" then
    set theRowCount to count of menu items of theObject
    call method "__HandleOpenWithPopUpSelection:withValue:" with parameters {currentRow(theObject), theRowCount}
    -- After the choice: a cancelled "Other…" has put back the row chosen before.
    call method "__UpdateLastOpenWithSelectedRowGlobal:" with parameter currentRow(theObject)
    showApplicationIcon()
    call method "__SavePreferences"
  else if theName is in {"unitsPopUp", "docHorizontalUnitsPopUp", "docVerticalUnitsPopUp"} then
    keepUnits()
    setUnits()
    showDimensions()
    call method "__SavePreferences"
  end if
end choose menu item

on bounds changed theObject
  if name of theObject is "Trigger" then
    if thePicturePath is not "" then showPicture(thePicturePath)
    call method "activateIgnoringOtherApps:" with parameter true
  end if
end bounds changed

on will quit theObject
  call method "__SavePreferences"
end will quit

-- One picture's road, from its path to the icons.
on showPicture(thePath)
  set thePicturePath to thePath
  call method "__SetStringValueToCGlobal:withValue:" with parameters {0, thePath}
  call method "__GetPictureInfo"
  set theProfile to call method "__GetStringValueFromCGlobal:" with parameter 1
  set thePixelText to call method "__GetStringValueFromCGlobal:" with parameter 2
  set theApplicationPath to call method "__GetStringValueFromCGlobal:" with parameter 6
  call method "__LoadOpenWithListPopUp"
  call method "__SetInitialOpenWithPopUpStatus"
  call method "__UpdateLastOpenWithSelectedRowGlobal:" with parameter currentRow(popup button "MAINWAP_ITEM_OPENWITHPOPUP" of window "Main")
  set theNames to namesOf(thePath)
  -- The folders from the picture's own up to the root: for /Jobs/Spring/cover.tif
  -- {"Spring", "Jobs", "/"}, one for each "/" of the path.
  set theFolders to (rest of (reverse of theNames)) & {"/"}
  set theFolderCount to count of theFolders
  tell window "Main"
    set contents of text field "pictureName" to last item of theNames
    set contents of text field "pictureFolder" to my folderOf(theNames)
    set contents of text field "colourProfile" to theProfile
    if theApplicationPath is "" then set theApplicationPath to "–"
    set contents of text field "applicationPath" to theApplicationPath
    delete every menu item of popup button "revealPopUp"
    repeat with theFolder in theFolders
      make new menu item at end of menu items of popup button "revealPopUp" with properties {title:theFolder}
    end repeat
    set enabled of button "openButton" to true
    set enabled of button "revealButton" to true
  end tell
  setUnits()
  showDimensions()
  tell window "Main"
    call method "DisplayIcon:which:" of class "VeskaClass" with parameters {image view "pictureIcon", 0}
  end tell
  showApplicationIcon()
end showPicture

on showApplicationIcon()
  tell window "Main"
    call method "DisplayIcon:which:" of class "VeskaClass" with parameters {image view "openWithIcon", 1}
  end tell
end showApplicationIcon

-- The size line: pixels as they came, or the native side's change of units.
on showDimensions()
  if thePicturePath is "" then return
  set theText to thePixelText
  if unitCode() ≥ 0 then
    call method "__HandleDimensionsUnitsChange"
    set theText to call method "__GetStringValueFromCGlobal:" with parameter 2
  end if
  set contents of text field "dimensions" of window "Main" to theText
end showDimensions

-- Hands the chosen units to the native side; the document's units matter,
-- and can be chosen, only with "Document units".
on setUnits()
  tell window "Main"
    set theDocumentChosen to (title of popup button "unitsPopUp") is "Document units"
    set enabled of popup button "docHorizontalUnitsPopUp" to theDocumentChosen
    set enabled of popup button "docVerticalUnitsPopUp" to theDocumentChosen
    set theHorizontal to my codeFor(title of popup button "docHorizontalUnitsPopUp", theDocumentUnitNames, theDocumentUnitCodes)
    set theVertical to my codeFor(title of popup button "docVerticalUnitsPopUp", theDocumentUnitNames, theDocumentUnitCodes)
  end tell
  if unitCode() ≥ 0 then call method "__SetIntValueToCGlobal:withValue:" with parameters {3, unitCode()}
  call method "__SetIntValueToCGlobal:withValue:" with parameters {4, theHorizontal}
  call method "__SetIntValueToCGlobal:withValue:" with parameters {5, theVertical}
end setUnits

-- Keeps the window's choice of units for the next run.
on keepUnits()
  tell window "Main"
    set theUnits to title of popup button "unitsPopUp"
    set theHorizontal to title of popup button "docHorizontalUnitsPopUp"
    set theVertical to title of popup button "docVerticalUnitsPopUp"
  end tell
  call method "setObject:forKey:" of class "UserDefaults" with parameters {theUnits, "units"}
  call method "setObject:forKey:" of class "UserDefaults" with parameters {theHorizontal, "horizontalUnits"}
  call method "setObject:forKey:" of class "UserDefaults" with parameters {theVertical, "verticalUnits"}
end keepUnits

on unitCode()
  return codeFor(title of popup button "unitsPopUp" of window "Main", theUnitNames, theUnitCodes)
end unitCode

-- Shows the folder chosen in the reveal pop-up: level 0 is the picture's own
-- folder, and each row below it one folder further up.
on revealFolder()
  if thePicturePath is "" then return
  set theLevel to currentRow(popup button "revealPopUp" of window "Main")
  call method "__SetStringValueToCGlobal:withValue:" with parameters {0, thePicturePath}
  call method "__HandleRevealFolder:withValue:" with parameters {theLevel, theFolderCount}
end revealFolder

-- Helpers.

-- The current row of a pop-up, counted from 0 as the native side counts,
-- separators included; 0 when it has none.
on currentRow(thePopUp)
  set theItem to current menu item of thePopUp
  if theItem is missing value then return 0
  return (index of theItem) - 1
end currentRow

-- Makes the row with that title current, if the pop-up has one.
on chooseRow(thePopUp, theTitle)
  repeat with theItem in menu items of thePopUp
    if title of theItem is theTitle then
      set current menu item of thePopUp to theItem
      return
    end if
  end repeat
end chooseRow

on codeFor(theName, theNames, theCodes)
  repeat with i from 1 to count of theNames
    if item i of theNames is theName then return item i of theCodes
  end repeat
  return item 1 of theCodes
end codeFor

on storedValue(theKey)
  return call method "objectForKey:" of class "UserDefaults" with parameter theKey
end storedValue

-- The names between the "/" characters of a path: for "/Jobs/Spring/cover.tif"
-- {"Jobs", "Spring", "cover.tif"}.
on namesOf(thePath)
  set theNames to {}
  set theName to ""
  repeat with theCharacter in characters of thePath
    if theCharacter is "/" then
      if theName is not "" then set end of theNames to theName
      set theName to ""
    else
      set theName to theName & theCharacter
    end if
  end repeat
  if theName is not "" then set end of theNames to theName
  return theNames
end namesOf

-- The folder holding a file: "/Jobs/Spring" for "/Jobs/Spring/cover.tif".
on folderOf(theNames)
  set theFolder to ""
  repeat with i from 1 to (count of theNames) - 1
    set theFolder to theFolder & "/" & item i of theNames
  end repeat
  if theFolder is "" then return "/"
  return theFolder
end folderOf
