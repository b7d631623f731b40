#include "openwith/popup.h"

#include "openwith/lookup.h"
#include "platform/files.h"
#include "prefs/fileutils.h"
#include "prefs/userprefs.h"
#include "shell/records.h"
#include "window/controlcommands.h"
#include "window/scriptrunner.h"

namespace {

// The window and its two controls, as short texts.
constexpr PascalLiteral kMainWindow("Main");
constexpr PascalLiteral kOpenWithPopUp("MAINWAP_ITEM_OPENWITHPOPUP");
constexpr PascalLiteral kAlwaysOpenWith("MAINWAP_ITEM_ALWAYSOPENWITH");

// Rows before the first list entry: the default row and a separator.
constexpr SInt16 kFirstListRow = 2;

// Two applications are the same when the names in their specifications are.
Boolean SameApplication(const FSSpec& a, const FSSpec& b) {
  return CompareString(a.name, b.name, nullptr) == 0;
}

// The list count as the list code may use it: never more than the slots.
SInt16 PostAppCount() {
  SInt16 count = G_USERPREFS.postAppCount;
  if (count < 0) return 0;
  return count > kPostAppListSlots ? kPostAppListSlots : count;
}

void PrunePostAppList() {
  SInt16 count = PostAppCount();
  SInt16 i = 0;
  while (i < count) {
    if (FileExists(G_USERPREFS.postAppList[i])) {
      ++i;
      continue;
    }
    for (SInt16 j = i; j + 1 < count; ++j)
      G_USERPREFS.postAppList[j] = G_USERPREFS.postAppList[j + 1];
    --count;
  }
  G_USERPREFS.postAppCount = count;
}

}  // namespace

void LoadOpenWithListPopUp() {
  MyEmptyPopUp(kOpenWithPopUp, kMainWindow);

  Str255 title;
  if (G_INFO.creatorUnknown) {
    pstrcpy(title, PSTR("<Unknown Creator>"));
  } else {
    pstrcpy(title, G_INFO.creatorAppName);
    pstrconcat(title, PSTR(" (Default)"));
  }
  AddRowToPopUpWithText(kOpenWithPopUp, kMainWindow, title, 0);

  if (G_USERPREFS.postAppCount != 0) {
    AddSeparatorRow(kOpenWithPopUp, kMainWindow);
    PrunePostAppList();
    for (SInt16 i = 0; i < G_USERPREFS.postAppCount; ++i) {
      Str255 name;
      GetFileNameFromFileFSSpec(G_USERPREFS.postAppList[i], name);
      AddRowToPopUpWithText(kOpenWithPopUp, kMainWindow, name, 0);
    }
  }

  AddSeparatorRow(kOpenWithPopUp, kMainWindow);
  AddRowToPopUpWithText(kOpenWithPopUp, kMainWindow, PSTR("Other\xC9"), 0);
}

void SetPostAppListPopUpSelection() {
  SInt16 count = PostAppCount();
  for (SInt16 i = 0; i < count; ++i) {
    if (SameApplication(G_USERPREFS.postAppList[i], G_USERPREFS.openWithAppSpec)) {
      SetPopUpSelection(kOpenWithPopUp, kMainWindow, static_cast<SInt16>(i + kFirstListRow));
      return;
    }
  }
}

void UpdatePostAppList() {
  SInt16 count = PostAppCount();
  for (SInt16 i = 0; i < count; ++i) {
    if (SameApplication(G_USERPREFS.postAppList[i], G_USERPREFS.openWithAppSpec)) {
      G_USERPREFS.postAppList[i] = G_USERPREFS.openWithAppSpec;
      return;
    }
  }
  if (count <= kPostAppListSlots - 1) {
    G_USERPREFS.postAppList[count] = G_USERPREFS.openWithAppSpec;
    G_USERPREFS.postAppCount = static_cast<SInt16>(count + 1);
  } else {
    for (SInt16 i = 0; i < kPostAppListSlots - 1; ++i)
      G_USERPREFS.postAppList[i] = G_USERPREFS.postAppList[i + 1];
    G_USERPREFS.postAppList[kPostAppListSlots - 1] = G_USERPREFS.openWithAppSpec;
    G_USERPREFS.postAppCount = kPostAppListSlots;
  }
  LoadOpenWithListPopUp();
}

void HandleOpenWithPopUpSelection(SInt16 selectedRow, SInt16 rowCount) {
  Enable1Control(kAlwaysOpenWith, kMainWindow);

  if (selectedRow == rowCount - 1) {
    OSErr err = NavPickApplication(&G_USERPREFS.openWithAppInfo, &G_USERPREFS.openWithAppSpec);
    if (err != noErr) {
      SetPopUpSelection(kOpenWithPopUp, kMainWindow,
                        static_cast<SInt16>(G_LASTOPENWITHSELECTEDROW));
      return;
    }
    UpdatePostAppList();
    SetPostAppListPopUpSelection();
  } else if (selectedRow == 0) {
    G_USERPREFS.openWithAppSpec = G_INFO.creatorAppSpec;
    Disable1Control(kAlwaysOpenWith, kMainWindow);
    G_ALWAYSOPENWITH = false;
    SetCheckButtonState(kAlwaysOpenWith, kMainWindow, false);
  } else if (selectedRow >= kFirstListRow && selectedRow < PostAppCount() + kFirstListRow) {
    G_USERPREFS.openWithAppSpec = G_USERPREFS.postAppList[selectedRow - kFirstListRow];
    FSpGetFInfo(&G_USERPREFS.openWithAppSpec, &G_USERPREFS.openWithAppInfo);
  }
}

void SetInitialOpenWithPopUpStatus() {
  if (G_ALWAYSOPENWITH) {
    SetCheckButtonState(kAlwaysOpenWith, kMainWindow, true);
    SetPostAppListPopUpSelection();
  } else {
    G_USERPREFS.openWithAppSpec = G_INFO.creatorAppSpec;
    SetPopUpSelection(kOpenWithPopUp, kMainWindow, 0);
    Disable1Control(kAlwaysOpenWith, kMainWindow);
  }
}
