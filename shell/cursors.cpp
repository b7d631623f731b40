#include "shell/cursors.h"

#include "platform/alerts.h"
#include "platform/bundle.h"
#include "platform/files.h"
#include "platform/quickdraw.h"
#include "platform/serialise.h"
#include "prefs/prefs.h"
#include "shell/notealert.h"

SInt32 G_CURSOR_Crsr1[kCursorPixels];
SInt32 G_CURSOR_Crsr2[kCursorPixels];
SInt32 G_CURSOR_Crsr1PC[kCursorPixels];
SInt32 G_CURSOR_Crsr2PC[kCursorPixels];

namespace {

// The images by selector: the buffer and the resource name in the bundle.
constexpr int kCursorImageCount = 4;
constexpr SInt32* kCursorBuffers[kCursorImageCount] = {G_CURSOR_Crsr1, G_CURSOR_Crsr2,
                                                       G_CURSOR_Crsr1PC, G_CURSOR_Crsr2PC};
constexpr const char* kCursorResourceNames[kCursorImageCount] = {"Crsr1", "Crsr2", "Crsr1PC",
                                                                 "Crsr2PC"};

constexpr UniChar kCursorDataName[] = {'C', 'u', 'r', 's', 'o', 'r', 'D', 'a', 't', 'a'};
constexpr UniCharCount kCursorDataNameLength = 10;

// Puts the bytes read at the front of the buffer, byte for byte in the
// little-endian order of the file; the rest of the buffer keeps its values.
void StoreCursorBytes(SInt32* buffer, const UInt8* bytes, ByteCount count) {
  for (ByteCount i = 0; i < count && i < kCursorDataBytes; i++) {
    UInt32 value = static_cast<UInt32>(buffer[i / 4]);
    int shift = 8 * static_cast<int>(i % 4);
    value = (value & ~(0xFFu << shift)) | (static_cast<UInt32>(bytes[i]) << shift);
    buffer[i / 4] = static_cast<SInt32>(value);
  }
}

Boolean ReadCursorFile(CFURLRef url, SInt32* buffer) {
  FSRef ref;
  FSSpec spec;
  SInt16 refNum;
  if (!CFURLGetFSRef(url, &ref)) return false;
  if (FSGetCatalogInfo(&ref, kFSCatInfoNone, nullptr, nullptr, &spec, nullptr) != noErr)
    return false;
  if (FSpOpenDF(&spec, fsRdPerm, &refNum) != noErr) return false;
  UInt8 bytes[kCursorDataBytes];
  ByteCount actualCount = 0;
  OSErr err = FSReadFork(refNum, fsFromStart, 0, kCursorDataBytes, bytes, &actualCount);
  StoreCursorBytes(buffer, bytes, actualCount);
  FSClose(refNum);
  return err == noErr;
}

// The first byte of each of the 16 × 16 pixels, widened as a signed byte.
// Pixels that the image does not have (a smaller image, or fewer bytes per
// row than four per pixel) count as 0: we never read past its pixels.
void CopyCursorImage(PixMapHandle pixmap, SInt32* image) {
  const PixMap* map = *pixmap;
  const auto* base = reinterpret_cast<const UInt8*>(map->baseAddr);
  long rowBytes = static_cast<UInt16>(map->rowBytes) & kRowBytesMask;
  long height = map->bounds.bottom - map->bounds.top;
  long width = map->bounds.right - map->bounds.left;
  for (int i = 0; i < kCursorSide; i++) {
    for (int j = 0; j < kCursorSide; j++) {
      Boolean inside = i < height && j < width && 4 * j + 4 <= rowBytes;
      image[kCursorSide * i + j] = inside ? static_cast<SInt8>(base[i * rowBytes + 4 * j]) : 0;
    }
  }
}

// Takes the current cursor's image; false when there is none or its pixels
// cannot be read, so that nothing is written then.
Boolean CaptureCursorImage(SInt32* image) {
  PixMapHandle pixmap = nullptr;
  Point hotSpot;
  if (QDGetCursorData(false, &pixmap, &hotSpot) != noErr || pixmap == nullptr) return false;
  if (!LockPixels(pixmap)) {
    DisposePixMap(pixmap);
    return false;
  }
  CopyCursorImage(pixmap, image);
  UnlockPixels(pixmap);
  DisposePixMap(pixmap);
  return true;
}

Boolean WriteCursorFile(const FSRef* folderRef, const SInt32* image) {
  UInt8 bytes[kCursorDataBytes];
  for (int i = 0; i < kCursorPixels; i++) {
    platform::put_le32(bytes + 4 * i, static_cast<UInt32>(image[i]));
  }
  FSRef fileRef;
  OSErr err = FSCreateFileUnicode(folderRef, kCursorDataNameLength, kCursorDataName, kFSCatInfoNone,
                                  nullptr, &fileRef, nullptr);
  if (err == dupFNErr) {
    err = FSMakeFSRefUnicode(folderRef, kCursorDataNameLength, kCursorDataName,
                             kTextEncodingUnknown, &fileRef);
  }
  if (err != noErr) return false;
  SInt16 forkRef;
  if (FSOpenFork(&fileRef, 0, nullptr, fsRdWrPerm, &forkRef) != noErr) return false;
  ByteCount written = 0;
  err = FSWriteFork(forkRef, fsFromStart, 0, kCursorDataBytes, bytes, &written);
  if (err == noErr) FSSetForkSize(forkRef, fsFromStart, static_cast<SInt64>(written));
  FSCloseFork(forkRef);
  return err == noErr;
}

}  // namespace

Boolean LoadCursorData(SInt16 selector) {
  if (selector < 0 || selector >= kCursorImageCount) return false;

  CFStringRef bundleID = CFStringCreateWithCString(kCFAllocatorDefault, kCursorPlugInBundleID,
                                                   kCFStringEncodingMacRoman);
  CFBundleRef bundle = CFBundleGetBundleWithIdentifier(bundleID);
  CFRelease(bundleID);
  if (bundle == nullptr) return false;

  CFStringRef name = CFStringCreateWithCString(kCFAllocatorDefault, kCursorResourceNames[selector],
                                               kCFStringEncodingMacRoman);
  CFURLRef url = CFBundleCopyResourceURL(bundle, name, nullptr, nullptr);
  CFRelease(name);
  if (url == nullptr) return false;

  Boolean result = ReadCursorFile(url, kCursorBuffers[selector]);
  CFRelease(url);
  return result;
}

void SaveCursorData() {
  SInt32 image[kCursorPixels];
  FSRef makerFolderRef;
  if (!CaptureCursorImage(image) || MakeVeskaFolder(&makerFolderRef) != noErr ||
      !WriteCursorFile(&makerFolderRef, image)) {
    ShowNoteAlert("*******");
  }
}
