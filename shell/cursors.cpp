#include "shell/notealert.h"
#include "shell/cursors.h"

#include "platform/alerts.h"
#include "platform/bundle.h"
#include "platform/files.h"
#include "platform/quickdraw.h"
#include "platform/serialise.h"
#include "prefs/prefs.h"

const char kCursorPlugInBundleID[] = "org.tavrine.layout-cursors";

SInt32 G_CURSOR_Crsr1[kCursorPixels];
SInt32 G_CURSOR_Crsr2[kCursorPixels];
SInt32 G_CURSOR_Crsr1PC[kCursorPixels];
SInt32 G_CURSOR_Crsr2PC[kCursorPixels];

// The images by selector: the buffer and the resource name in the bundle.
enum { kCursorImageCount = 4 };
static SInt32* const kCursorBuffers[kCursorImageCount] = {G_CURSOR_Crsr1, G_CURSOR_Crsr2,
                                                          G_CURSOR_Crsr1PC, G_CURSOR_Crsr2PC};
static const char* const kCursorResourceNames[kCursorImageCount] = {"Crsr1", "Crsr2", "Crsr1PC",
                                                                    "Crsr2PC"};

static const UniChar kCursorDataName[] = {'C', 'u', 'r', 's', 'o', 'r', 'D', 'a', 't', 'a'};
enum { kCursorDataNameLength = 10, kCursorSide = 16 };

// Puts the bytes read at the front of the buffer, byte for byte in the
// little-endian order of the file; the rest of the buffer keeps its values.
static void StoreCursorBytes(SInt32* buffer, const UInt8* bytes, ByteCount count) {
  ByteCount i;
  for (i = 0; i < count && i < kCursorDataBytes; i++) {
    UInt32 value = (UInt32)buffer[i / 4];
    int shift = 8 * (int)(i % 4);
    value = (value & ~(0xFFu << shift)) | ((UInt32)bytes[i] << shift);
    buffer[i / 4] = (SInt32)value;
  }
}

static Boolean ReadCursorFile(CFURLRef url, SInt32* buffer) {
  FSRef ref;
  FSSpec spec;
  SInt16 refNum;
  UInt8 bytes[kCursorDataBytes];
  ByteCount actualCount = 0;
  OSErr err;

  if (!CFURLGetFSRef(url, &ref)) return false;
  if (FSGetCatalogInfo(&ref, kFSCatInfoNone, NULL, NULL, &spec, NULL) != noErr) return false;
  if (FSpOpenDF(&spec, fsRdPerm, &refNum) != noErr) return false;
  err = FSReadFork(refNum, fsFromStart, 0, kCursorDataBytes, bytes, &actualCount);
  StoreCursorBytes(buffer, bytes, actualCount);
  FSClose(refNum);
  return err == noErr;
}

Boolean LoadCursorData(SInt16 selector) {
  SInt32* buffer;
  const char* resourceName;
  CFStringRef bundleID, name;
  CFBundleRef bundle;
  CFURLRef url;
  Boolean result;

  if (selector < 0 || selector >= kCursorImageCount) return false;
  buffer = kCursorBuffers[selector];
  resourceName = kCursorResourceNames[selector];

  bundleID = CFStringCreateWithCString(kCFAllocatorDefault, kCursorPlugInBundleID,
                                       kCFStringEncodingMacRoman);
  bundle = CFBundleGetBundleWithIdentifier(bundleID);
  CFRelease(bundleID);
  if (bundle == NULL) return false;

  name = CFStringCreateWithCString(kCFAllocatorDefault, resourceName, kCFStringEncodingMacRoman);
  url = CFBundleCopyResourceURL(bundle, name, NULL, NULL);
  CFRelease(name);
  if (url == NULL) return false;

  result = ReadCursorFile(url, buffer);
  CFRelease(url);
  return result;
}

// The first byte of each of the 16 × 16 pixels, widened as a signed byte.
// Pixels that the image does not have (a smaller image, or fewer bytes per
// row than four per pixel) count as 0: we never read past its pixels.
static void CopyCursorImage(PixMapHandle pixmap, SInt32* image) {
  const PixMap* map = *pixmap;
  const UInt8* base = (const UInt8*)map->baseAddr;
  long rowBytes = (UInt16)map->rowBytes & kRowBytesMask;
  long height = map->bounds.bottom - map->bounds.top;
  long width = map->bounds.right - map->bounds.left;
  int i, j;

  for (i = 0; i < kCursorSide; i++) {
    for (j = 0; j < kCursorSide; j++) {
      Boolean inside = i < height && j < width && 4 * j + 4 <= rowBytes;
      image[kCursorSide * i + j] = inside ? (SInt32)(SInt8)base[i * rowBytes + 4 * j] : 0;
    }
  }
}

// Takes the current cursor's image; false when there is none or its pixels
// cannot be read, so that nothing is written then.
static Boolean CaptureCursorImage(SInt32* image) {
  PixMapHandle pixmap = NULL;
  Point hotSpot;

  if (QDGetCursorData(false, &pixmap, &hotSpot) != noErr || pixmap == NULL) return false;
  if (!LockPixels(pixmap)) {
    DisposePixMap(pixmap);
    return false;
  }
  CopyCursorImage(pixmap, image);
  UnlockPixels(pixmap);
  DisposePixMap(pixmap);
  return true;
}

static Boolean WriteCursorFile(const FSRef* folderRef, const SInt32* image) {
  FSRef fileRef;
  SInt16 forkRef;
  UInt8 bytes[kCursorDataBytes];
  ByteCount written = 0;
  OSErr err;
  int i;

  for (i = 0; i < kCursorPixels; i++) platform::put_le32(bytes + 4 * i, (UInt32)image[i]);
  err = FSCreateFileUnicode(folderRef, kCursorDataNameLength, kCursorDataName, kFSCatInfoNone, NULL,
                            &fileRef, NULL);
  if (err == dupFNErr)
    err = FSMakeFSRefUnicode(folderRef, kCursorDataNameLength, kCursorDataName,
                             kTextEncodingUnknown, &fileRef);
  if (err != noErr) return false;
  if (FSOpenFork(&fileRef, 0, NULL, fsRdWrPerm, &forkRef) != noErr) return false;
  err = FSWriteFork(forkRef, fsFromStart, 0, kCursorDataBytes, bytes, &written);
  if (err == noErr) FSSetForkSize(forkRef, fsFromStart, (SInt64)written);
  FSCloseFork(forkRef);
  return err == noErr;
}

void SaveCursorData() {
  SInt32 image[kCursorPixels];
  FSRef prefsFolderRef, makerFolderRef;

  if (!CaptureCursorImage(image)) {
    ShowNoteAlert("*******");
    return;
  }
  // As for the preferences: a new account may not have the folder yet.
  FSFindFolder(kUserDomain, kPreferencesFolderType, kCreateFolder, &prefsFolderRef);
  if (FSMakeFSRefUnicode(&prefsFolderRef, kVeskaFolderLength, G_VESKAFOLDER, kTextEncodingUnknown,
                         &makerFolderRef) != noErr &&
      FSCreateDirectoryUnicode(&prefsFolderRef, kVeskaFolderLength, G_VESKAFOLDER, kFSCatInfoNone,
                               NULL, &makerFolderRef, NULL, NULL) != noErr) {
    ShowNoteAlert("*******");
    return;
  }
  if (!WriteCursorFile(&makerFolderRef, image)) ShowNoteAlert("*******");
}
