-- Main.applescript: the window script of tavrine, the program's top-level flow.
--
-- The window "Main" (Main.layout) shows one picture at a time. The script calls
-- the native operations by name with `call method`; they answer by changing the
-- window (the open-with pop-up, the always-open-with check box, the icons) and
-- the shared values named below.
--
-- The road of one picture, in the order the native operations need it:
--   at launch       __GetPreferences, then __InstallEventHandlers
--   for a picture   its path (thePathString), __GetPictureInfo, the strings it filled,
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

-- The native side's shared values, by number: strings and integers are numbered
-- apart.
property thePathString : 0 -- the picture's POSIX path, written before each picture and reveal
property theProfileString : 1 -- its colour profile
property theSizeString : 2 -- its size line
property theApplicationString : 6 -- its application's path, "" when it has none
property theUnitsInteger : 3 -- the units of the size line, one of theUnitCodes
property theHorizontalUnitsInteger : 4 -- the unit code of the document's widths
property theVerticalUnitsInteger : 5 -- the unit code of the document's heights
-- The icons that DisplayIcon:which: shows.
property thePictureIcon : 0
property theApplicationIcon : 1

-- The units of the size line: the rows of the units pop-up and the value of
-- theUnitsInteger each stands for. Pixels need no change of units (-1): the
-- size in pixels is shown as it came.
property theUnitNames : {"Pixels", "Document units", "Inches", "Millimetres", "Centimetres", "Points", "Picas"}
property theUnitCodes : {-1, 0, 2, 3, 4, 5, 6}
property thePixels : item 1 of theUnitNames
property theDocumentUnits : item 2 of theUnitNames -- hands the choice to the two pop-ups below
-- The units of a document: the rows of the two document-unit pop-ups and
-- their unit codes (theHorizontalUnitsInteger, theVerticalUnitsInteger).
property theDocumentUnitNames : items 3 thru -1 of theUnitNames
property theDocumentUnitCodes : {0, 1, 7, 4, 3}
property theFirstDocumentUnit : item 2 of theDocumentUnitNames -- until the user chooses

on launched theObject
  call method "__GetPreferences"
  call method "__InstallEventHandlers"
  tell window "Main"
    my addRows(popup button "unitsPopUp", {thePixels, theDocumentUnits})
    make new menu item at end of menu items of popup button "unitsPopUp" with properties {separator item:true}
    my addRows(popup button "unitsPopUp", theDocumentUnitNames)
    my addRows(popup button "docHorizontalUnitsPopUp", theDocumentUnitNames)
    my addRows(popup button "docVerticalUnitsPopUp", theDocumentUnitNames)
  end tell
  -- The units chosen last time, kept in the user defaults.
  call method "registerDefaults:" of class "UserDefaults" with parameter {units:thePixels, horizontalUnits:theFirstDocumentUnit, verticalUnits:theFirstDocumentUnit}
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
  call method "__SetStringValueToCGlobal:withValue:" with parameters {thePathString, thePath}
  call method "__GetPictureInfo"
  set theProfile to call method "__GetStringValueFromCGlobal:" with parameter theProfileString
  set thePixelText to call method "__GetStringValueFromCGlobal:" with parameter theSizeString
  set theApplicationPath to call method "__GetStringValueFromCGlobal:" with parameter theApplicationString
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
    call method "DisplayIcon:which:" of class "VeskaClass" with parameters {image view "pictureIcon", thePictureIcon}
  end tell
  showApplicationIcon()
end showPicture

on showApplicationIcon()
  tell window "Main"
    call method "DisplayIcon:which:" of class "VeskaClass" with parameters {image view "openWithIcon", theApplicationIcon}
  end tell
end showApplicationIcon

-- The size line: pixels as they came, or the native side's change of units.
on showDimensions()
  if thePicturePath is "" then return
  set theText to thePixelText
  if unitCode() ≥ 0 then
    call method "__HandleDimensionsUnitsChange"
    set theText to call method "__GetStringValueFromCGlobal:" with parameter theSizeString
  end if
  set contents of text field "dimensions" of window "Main" to theText
end showDimensions

-- Hands the chosen units to the native side; the document's units matter,
-- and can be chosen, only with "Document units".
on setUnits()
  tell window "Main"
    set theDocumentChosen to (title of popup button "unitsPopUp") is theDocumentUnits
    set enabled of popup button "docHorizontalUnitsPopUp" to theDocumentChosen
    set enabled of popup button "docVerticalUnitsPopUp" to theDocumentChosen
    set theHorizontal to my codeFor(title of popup button "docHorizontalUnitsPopUp", theDocumentUnitNames, theDocumentUnitCodes)
    set theVertical to my codeFor(title of popup button "docVerticalUnitsPopUp", theDocumentUnitNames, theDocumentUnitCodes)
  end tell
  if unitCode() ≥ 0 then call method "__SetIntValueToCGlobal:withValue:" with parameters {theUnitsInteger, unitCode()}
  call method "__SetIntValueToCGlobal:withValue:" with parameters {theHorizontalUnitsInteger, theHorizontal}
  call method "__SetIntValueToCGlobal:withValue:" with parameters {theVerticalUnitsInteger, theVertical}
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
  call method "__SetStringValueToCGlobal:withValue:" with parameters {thePathString, thePicturePath}
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

-- Adds a row for each title at the end of the pop-up.
on addRows(thePopUp, theTitles)
  repeat with theTitle in theTitles
    make new menu item at end of menu items of thePopUp with properties {title:theTitle}
  end repeat
end addRows

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
