// Gathering the current picture's information: its file, its default
// application, its pixel size and colour profile, and the pixel-size text.
#include "pictureinfo/pictureinfo.h"

#include "openwith/lookup.h"
#include "pictureinfo/shorttext.h"
#include "platform/files.h"
#include "platform/metadata.h"
#include "prefs/fileutils.h"
#include "shell/records.h"
#include "window/scriptrunner.h"

namespace {

void ClearFSSpec(FSSpec* spec) {
  spec->vRefNum = 0;
  spec->parID = 0;
  spec->name[0] = 0;
}

bool IsEmptyFSSpec(const FSSpec* spec) {
  return spec->vRefNum == 0 && spec->parID == 0 && spec->name[0] == 0;
}

void SetShortText(StringPtr text, const char* value) {
  text[0] = 0;
  pstrappend(text, value);
}

// Every field this operation writes, back to "nothing known". The en dash is
// Mac Roman 0xD0.
void ResetPictureInfo() {
  G_INFO.creatorUnknown = false;
  ClearFSSpec(&G_INFO.pictureSpec);
  ClearFSSpec(&G_INFO.creatorAppSpec);
  G_INFO.pictureCreator = FOUR_CHAR_CODE("????");
  SetShortText(G_INFO.creatorAppName, "\xD0");
  SetShortText(G_INFO.dimensionsText, "\xD0");
  SetShortText(G_INFO.colorProfileName, "\xD0");
  G_INFO.pixelWidth = 0;
  G_INFO.pixelHeight = 0;
}

// The picture's default application: its name and path, or "<Unknown>".
void FindCreatorApplication() {
  if (FindApplicationFromDocument(&G_INFO.pictureSpec, &G_INFO.creatorAppSpec,
                                  &G_INFO.pictureCreator) != noErr) {
    G_INFO.creatorUnknown = true;
    SetShortText(G_INFO.creatorAppName, "<Unknown>");
    G_INFO.creatorAppPath[0] = 0;
    ClearFSSpec(&G_INFO.creatorAppSpec);  // whatever the lookup left there
    return;
  }
  GetFileNameFromFileFSSpec(G_INFO.creatorAppSpec, G_INFO.creatorAppName);
  CFStringRef appPath = CopyPOSIXPath(G_INFO.creatorAppSpec);
  CopyPathToShortText(appPath, G_INFO.creatorAppPath);  // empty without a path
  if (appPath != nullptr) CFRelease(appPath);
}

// A number attribute as a signed 32-bit integer; the field keeps its value
// when the item does not carry it.
void CopyNumberAttribute(MDItemRef item, CFStringRef name, SInt32* field) {
  CFNumberRef number = static_cast<CFNumberRef>(MDItemCopyAttribute(item, name));
  if (number == nullptr) return;
  CFNumberGetValue(number, kCFNumberIntType, field);
  CFRelease(number);
}

// The metadata item of the picture's file, or null.
MDItemRef CreatePictureMetadataItem() {
  FSRef pictureRef;
  if (FSpMakeFSRef(&G_INFO.pictureSpec, &pictureRef) != noErr) return nullptr;
  CFURLRef url = CFURLCreateFromFSRef(kCFAllocatorDefault, &pictureRef);
  if (url == nullptr) return nullptr;
  CFStringRef posixPath = CFURLCopyFileSystemPath(url, kCFURLPOSIXPathStyle);
  MDItemRef item = nullptr;
  if (posixPath != nullptr) {
    item = MDItemCreate(kCFAllocatorDefault, posixPath);
    CFRelease(posixPath);
  }
  CFRelease(url);
  return item;
}

// The colour profile's name and the pixel size, each on its own.
void ReadPictureMetadata() {
  MDItemRef item = CreatePictureMetadataItem();
  if (item == nullptr) return;
  CFStringRef profileName = static_cast<CFStringRef>(MDItemCopyAttribute(item, kMDItemProfileName));
  if (profileName != nullptr) {
    CopyCFStringToShortText(profileName, G_INFO.colorProfileName);
    CFRelease(profileName);
  }
  CopyNumberAttribute(item, kMDItemPixelWidth, &G_INFO.pixelWidth);
  CopyNumberAttribute(item, kMDItemPixelHeight, &G_INFO.pixelHeight);
  CFRelease(item);
}

}  // namespace

void GetPictureInfo() {
  ResetPictureInfo();
  // The path as the script stored it; FSPathMakeFSSpec turns its Mac Roman
  // into the file system's UTF-8.
  char path[256];
  CopyPascalStringToC(G_INFO.picturePath, path);
  if (FSPathMakeFSSpec(reinterpret_cast<const UInt8*>(path), &G_INFO.pictureSpec, nullptr) != noErr)
    ClearFSSpec(&G_INFO.pictureSpec);
  FindCreatorApplication();
  if (!IsEmptyFSSpec(&G_INFO.pictureSpec)) ReadPictureMetadata();
  CleanUpRowFields();
}

// The pixel-size text, "1024 x 768 px", or "?" when a size is missing.
void CleanUpRowFields() {
  if (G_INFO.pixelWidth == 0 || G_INFO.pixelHeight == 0) {
    SetShortText(G_INFO.dimensionsText, "?");
    return;
  }
  G_INFO.dimensionsText[0] = 0;
  Str255 number;
  NumToString(G_INFO.pixelWidth, number);
  pstrconcat(G_INFO.dimensionsText, number);
  pstrappend(G_INFO.dimensionsText, " x ");
  NumToString(G_INFO.pixelHeight, number);
  pstrconcat(G_INFO.dimensionsText, number);
  pstrappend(G_INFO.dimensionsText, " px");
}
