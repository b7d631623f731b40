#include "shell/notealert.h"
#include "prefs/prefs.h"

#include "platform/alerts.h"
#include "platform/files.h"
#include "platform/state_files.h"
#include "prefs/userprefs.h"
#include "shell/cursors.h"
#include "shell/records.h"

const UniChar G_VESKAFOLDER[kVeskaFolderLength] = {'V', 'e', 's', 'k', 'a', 'S', 'o',
                                                   'f', 't', 'w', 'a', 'r', 'e'};

static const char kPrefsFileName[] = "Veska Tavrine Pro for ID Prefs";
// Longest file name we turn into UTF-16.
enum { kMaxNameChars = 255 };

void GetPreferences() {
  LoadDefaultUserPrefs();
  GetUserPrefs();
  G_ALWAYSOPENWITH = false;
  G_TRIGGERBUTTONWASEXPANDED = false;
  LoadCursorData(0);
  LoadCursorData(1);
  LoadCursorData(2);
  LoadCursorData(3);
}

void LoadDefaultUserPrefs() {
  G_USERPREFS.postAppCount = 0;
  G_USERPREFS.dimensionUnits = 0;
  for (UInt8& byte : G_USERPREFS.reserved3) byte = 0;
}

static CFStringRef MakeFileNameString(const char* name) {
  return CFStringCreateWithCString(kCFAllocatorDefault, name, CFStringGetSystemEncoding());
}

// The name's UTF-16 characters in chars; their count, 0 when it does not fit.
static UniCharCount GetNameChars(CFStringRef name, UniChar* chars) {
  CFIndex length = CFStringGetLength(name);
  if (length <= 0 || length > kMaxNameChars) return 0;
  CFStringGetCharacters(name, CFRangeMake(0, length), chars);
  return (UniCharCount)length;
}

// A damaged or foreign file may say anything; the list has 50 slots.
static void ClampPostAppCount() {
  if (G_USERPREFS.postAppCount < 0) G_USERPREFS.postAppCount = 0;
  if (G_USERPREFS.postAppCount > kPostAppListSlots) G_USERPREFS.postAppCount = kPostAppListSlots;
}

static Boolean ReadPrefsRecord(SInt16 refNum) {
  UInt8 bytes[kUserPrefsBytes];
  ByteCount actualCount = 0;
  OSErr err;

  // Bytes that a short file does not have keep what the record held.
  EncodeUserPrefs(G_USERPREFS, bytes);
  err = FSReadFork(refNum, fsFromStart, 0, kUserPrefsBytes, bytes, &actualCount);
  DecodeUserPrefs(bytes, G_USERPREFS);
  ClampPostAppCount();
  return err == noErr;
}

Boolean GetUserPrefs() {
  FSRef prefsFolderRef, makerFolderRef, fileRef;
  FSSpec fileSpec;
  CFStringRef fileName;
  CFURLRef folderURL, fileURL = NULL;
  SInt16 refNum;
  Boolean result = false;

  FSFindFolder(kUserDomain, kPreferencesFolderType, kDontCreateFolder, &prefsFolderRef);
  if (FSMakeFSRefUnicode(&prefsFolderRef, kVeskaFolderLength, G_VESKAFOLDER, kTextEncodingUnknown,
                         &makerFolderRef) != noErr)
    return false;

  fileName = MakeFileNameString(kPrefsFileName);
  folderURL = CFURLCreateFromFSRef(kCFAllocatorDefault, &makerFolderRef);
  if (folderURL != NULL)
    fileURL =
        CFURLCreateCopyAppendingPathComponent(kCFAllocatorDefault, folderURL, fileName, false);
  if (fileURL != NULL && CFURLGetFSRef(fileURL, &fileRef) &&
      FSGetCatalogInfo(&fileRef, kFSCatInfoNone, NULL, NULL, &fileSpec, NULL) == noErr &&
      FSpOpenDF(&fileSpec, fsRdPerm, &refNum) == noErr) {
    result = ReadPrefsRecord(refNum);
    FSClose(refNum);
  }

  if (fileName != NULL) CFRelease(fileName);
  if (folderURL != NULL) CFRelease(folderURL);
  if (fileURL != NULL) CFRelease(fileURL);
  return result;
}

// Puts the record in the place of the file that fileRef leads to in one
// step (platform/state_files.h), so that a save cut short by a full disk, a
// crash or a kill leaves the old preferences whole, two copies of the
// program saving at once both succeed, and nothing but a regular file (never
// a device or a pipe that the file or its link leads to) is ever replaced.
static Boolean WriteRecordSafely(const FSRef* fileRef) {
  UInt8 bytes[kUserPrefsBytes];

  EncodeUserPrefs(G_USERPREFS, bytes);
  return platform::write_state_file(fileRef->path,
                                    std::string_view((const char*)bytes, kUserPrefsBytes)) == noErr;
}

void SaveUserPrefs() {
  FSRef prefsFolderRef, makerFolderRef, folderRef, fileRef;
  CFStringRef fileName;
  CFURLRef folderURL, secondFolderURL, fileURL;
  UniChar nameChars[kMaxNameChars];
  UniCharCount nameLength;
  OSErr err;
  Boolean createdNow, saved = false;

  // The Preferences folder always exists where this program comes from; on
  // Linux a new account may not have one yet, and the XDG rules ask the
  // first writer to make it.
  FSFindFolder(kUserDomain, kPreferencesFolderType, kCreateFolder, &prefsFolderRef);
  if (FSMakeFSRefUnicode(&prefsFolderRef, kVeskaFolderLength, G_VESKAFOLDER, kTextEncodingUnknown,
                         &makerFolderRef) != noErr &&
      FSCreateDirectoryUnicode(&prefsFolderRef, kVeskaFolderLength, G_VESKAFOLDER, kFSCatInfoNone,
                               NULL, &makerFolderRef, NULL, NULL) != noErr) {
    ShowNoteAlert("Can't save Veska Tavrine Pro preferences. (-1)");
    return;
  }

  folderURL = CFURLCreateFromFSRef(kCFAllocatorDefault, &makerFolderRef);
  fileName = MakeFileNameString(kPrefsFileName);
  if (folderURL == NULL) {
    CFRelease(fileName);
    ShowNoteAlert("Can't save Veska Tavrine Pro preferences. (-2)");
    return;
  }

  secondFolderURL = CFURLCreateFromFSRef(kCFAllocatorDefault, &makerFolderRef);
  if (secondFolderURL != NULL && CFURLGetFSRef(secondFolderURL, &folderRef)) {
    nameLength = GetNameChars(fileName, nameChars);
    err = FSCreateFileUnicode(&folderRef, nameLength, nameChars, kFSCatInfoNone, NULL, NULL, NULL);
    createdNow = (err == noErr);
    if (err == noErr || err == dupFNErr) {
      fileURL = CFURLCreateCopyAppendingPathComponent(kCFAllocatorDefault, secondFolderURL,
                                                      fileName, false);
      if (fileURL != NULL && CFURLGetFSRef(fileURL, &fileRef)) {
        saved = WriteRecordSafely(&fileRef);
        // A file we made just now and could not fill is taken away again.
        if (!saved && createdNow) FSDeleteObject(&fileRef);
      }
      if (fileURL != NULL) CFRelease(fileURL);
    }
  }

  CFRelease(fileName);
  CFRelease(folderURL);
  if (secondFolderURL != NULL) CFRelease(secondFolderURL);
  if (!saved) ShowNoteAlert("Can't save Veska Tavrine Pro preferences. (-3)");
}
