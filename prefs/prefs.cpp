#include "prefs/prefs.h"

#include <string_view>

#include "platform/alerts.h"
#include "platform/files.h"
#include "platform/state_files.h"
#include "prefs/userprefs.h"
#include "shell/cursors.h"
#include "shell/notealert.h"
#include "shell/records.h"

const UniChar G_VESKAFOLDER[kVeskaFolderLength] = {'V', 'e', 's', 'k', 'a', 'S', 'o',
                                                   'f', 't', 'w', 'a', 'r', 'e'};

namespace {

constexpr char kPrefsFileName[] = "Veska Tavrine Pro for ID Prefs";
// Longest file name we turn into UTF-16.
constexpr CFIndex kMaxNameChars = 255;

}  // namespace

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

OSErr MakeVeskaFolder(FSRef* makerFolderRef) {
  // The Preferences folder always exists where this program comes from; on
  // Linux a new account may not have one yet, and the XDG rules ask the
  // first writer to make it.
  FSRef prefsFolderRef;
  FSFindFolder(kUserDomain, kPreferencesFolderType, kCreateFolder, &prefsFolderRef);
  OSErr err = FSMakeFSRefUnicode(&prefsFolderRef, kVeskaFolderLength, G_VESKAFOLDER,
                                 kTextEncodingUnknown, makerFolderRef);
  if (err == noErr) return noErr;
  return FSCreateDirectoryUnicode(&prefsFolderRef, kVeskaFolderLength, G_VESKAFOLDER,
                                  kFSCatInfoNone, nullptr, makerFolderRef, nullptr, nullptr);
}

namespace {

CFStringRef MakeFileNameString(const char* name) {
  return CFStringCreateWithCString(kCFAllocatorDefault, name, CFStringGetSystemEncoding());
}

// The name's UTF-16 characters in chars; their count, 0 when it does not fit.
UniCharCount GetNameChars(CFStringRef name, UniChar* chars) {
  CFIndex length = CFStringGetLength(name);
  if (length <= 0 || length > kMaxNameChars) return 0;
  CFStringGetCharacters(name, CFRangeMake(0, length), chars);
  return static_cast<UniCharCount>(length);
}

// A damaged or foreign file may say anything; the list has 50 slots.
void ClampPostAppCount() {
  if (G_USERPREFS.postAppCount < 0) G_USERPREFS.postAppCount = 0;
  if (G_USERPREFS.postAppCount > kPostAppListSlots) G_USERPREFS.postAppCount = kPostAppListSlots;
}

Boolean ReadPrefsRecord(SInt16 refNum) {
  UInt8 bytes[kUserPrefsBytes];
  ByteCount actualCount = 0;
  // Bytes that a short file does not have keep what the record held.
  EncodeUserPrefs(G_USERPREFS, bytes);
  OSErr err = FSReadFork(refNum, fsFromStart, 0, kUserPrefsBytes, bytes, &actualCount);
  DecodeUserPrefs(bytes, G_USERPREFS);
  ClampPostAppCount();
  return err == noErr;
}

// Opens the file that url leads to and reads the record from it.
Boolean ReadPrefsFile(CFURLRef url) {
  FSRef fileRef;
  FSSpec fileSpec;
  SInt16 refNum;
  if (!CFURLGetFSRef(url, &fileRef) ||
      FSGetCatalogInfo(&fileRef, kFSCatInfoNone, nullptr, nullptr, &fileSpec, nullptr) != noErr ||
      FSpOpenDF(&fileSpec, fsRdPerm, &refNum) != noErr) {
    return false;
  }
  Boolean result = ReadPrefsRecord(refNum);
  FSClose(refNum);
  return result;
}

// Puts the record in the place of the file that fileRef leads to in one
// step (platform/state_files.h), so that a save cut short by a full disk, a
// crash or a kill leaves the old preferences whole, two copies of the
// program saving at once both succeed, and nothing but a regular file (never
// a device or a pipe that the file or its link leads to) is ever replaced.
Boolean WriteRecordSafely(const FSRef* fileRef) {
  UInt8 bytes[kUserPrefsBytes];
  EncodeUserPrefs(G_USERPREFS, bytes);
  std::string_view record(reinterpret_cast<const char*>(bytes), kUserPrefsBytes);
  return platform::write_state_file(fileRef->path, record) == noErr;
}

// Makes the file in the folder that folderURL leads to unless it is there
// already, and writes the record to it. A file made just now and not filled
// is taken away again.
Boolean WritePrefsFile(CFURLRef folderURL, CFStringRef fileName) {
  FSRef folderRef;
  if (!CFURLGetFSRef(folderURL, &folderRef)) return false;
  UniChar nameChars[kMaxNameChars];
  UniCharCount nameLength = GetNameChars(fileName, nameChars);
  OSErr err = FSCreateFileUnicode(&folderRef, nameLength, nameChars, kFSCatInfoNone, nullptr,
                                  nullptr, nullptr);
  if (err != noErr && err != dupFNErr) return false;
  Boolean createdNow = err == noErr;

  CFURLRef fileURL =
      CFURLCreateCopyAppendingPathComponent(kCFAllocatorDefault, folderURL, fileName, false);
  if (fileURL == nullptr) return false;
  FSRef fileRef;
  Boolean saved = false;
  if (CFURLGetFSRef(fileURL, &fileRef)) {
    saved = WriteRecordSafely(&fileRef);
    if (!saved && createdNow) FSDeleteObject(&fileRef);
  }
  CFRelease(fileURL);
  return saved;
}

}  // namespace

Boolean GetUserPrefs() {
  FSRef prefsFolderRef, makerFolderRef;
  FSFindFolder(kUserDomain, kPreferencesFolderType, kDontCreateFolder, &prefsFolderRef);
  if (FSMakeFSRefUnicode(&prefsFolderRef, kVeskaFolderLength, G_VESKAFOLDER, kTextEncodingUnknown,
                         &makerFolderRef) != noErr) {
    return false;
  }

  CFStringRef fileName = MakeFileNameString(kPrefsFileName);
  CFURLRef folderURL = CFURLCreateFromFSRef(kCFAllocatorDefault, &makerFolderRef);
  CFURLRef fileURL = nullptr;
  if (folderURL != nullptr) {
    fileURL =
        CFURLCreateCopyAppendingPathComponent(kCFAllocatorDefault, folderURL, fileName, false);
  }
  Boolean result = fileURL != nullptr && ReadPrefsFile(fileURL);

  if (fileName != nullptr) CFRelease(fileName);
  if (folderURL != nullptr) CFRelease(folderURL);
  if (fileURL != nullptr) CFRelease(fileURL);
  return result;
}

void SaveUserPrefs() {
  FSRef makerFolderRef;
  if (MakeVeskaFolder(&makerFolderRef) != noErr) {
    ShowNoteAlert("Can't save Veska Tavrine Pro preferences. (-1)");
    return;
  }
  CFURLRef folderURL = CFURLCreateFromFSRef(kCFAllocatorDefault, &makerFolderRef);
  if (folderURL == nullptr) {
    ShowNoteAlert("Can't save Veska Tavrine Pro preferences. (-2)");
    return;
  }
  CFStringRef fileName = MakeFileNameString(kPrefsFileName);
  Boolean saved = WritePrefsFile(folderURL, fileName);
  CFRelease(fileName);
  CFRelease(folderURL);
  if (!saved) ShowNoteAlert("Can't save Veska Tavrine Pro preferences. (-3)");
}
