// The File Manager: file references, file specifications, Finder information,
// folders and file data, backed by the Linux file system.
//
// How the classic names map onto Linux:
// - An FSRef is a resolved item: its absolute path, device and inode. Every
//   operation that takes one first checks that the path still leads to that
//   device and inode, so a reference to a file that was deleted or replaced
//   fails with fnfErr instead of reaching the newcomer.
// - An FSSpec names an item by its volume, the ID of its parent folder and its
//   name. The volume is a stable non-zero number per mounted file system
//   (derived from the folder it is mounted on); the directory ID is the low 32
//   bits of the parent folder's inode (unless the catalog gave it another,
//   below); the name is the file name in Mac Roman. A name longer than 63
//   characters, or without a Mac Roman form, is shortened the classic way,
//   "prefix#<hex inode>.ext"; such a name resolves to the item of the full
//   name the catalog recorded, else to the item whose inode and whole
//   shortened name match it, never by the inode alone. The root folder "/" is the volume's root:
//   parent ID 1 (fsRtParID) and the name "/". An all-zero FSSpec is "no file".
// - The directory catalog maps (volume, directory ID) to a folder's path. It
//   is filled whenever an FSSpec is made and kept as state under
//   $XDG_STATE_HOME/tavrine/catalog (default ~/.local/state; a catalog of an
//   older version in $XDG_CACHE_HOME/tavrine moves over once), so
//   specifications stored in the preferences resolve in later runs. A hit
//   counts only when the folder at that path still has that inode and birth
//   time (or inode generation) and lies on the device now mounted as that
//   volume. A folder that is not where the catalog saw it is searched for, a
//   bounded search around its old place, the application folders and $PATH
//   and the recently used folders; the catalog learns where it went. A
//   folder that takes the freed inode of one the catalog knows gets a
//   directory ID of its own. The catalog also keeps the full name behind
//   each shortened name it made, so a replaced file of that name resolves.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/cf.h"
#include "platform/oserr.h"
#include "platform/types.h"

// A resolved item: its absolute POSIX path (UTF-8), device and inode.
struct FSRef {
  std::string path;
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
};

using FSCatalogInfoBitmap = UInt32;
using FSVolumeRefNum = SInt16;
using TextEncoding = UInt32;
using ByteCount = unsigned long;
using SInt64 = std::int64_t;

enum : FSCatalogInfoBitmap { kFSCatInfoNone = 0 };
enum : TextEncoding { kTextEncodingUnknown = 0xFFFF };
enum : SInt32 { fsRtParID = 1 };  // the parent ID of a volume's root folder

// Domains and folder types of FSFindFolder.
enum : FSVolumeRefNum { kUserDomain = -32763 };
enum : OSType { kPreferencesFolderType = FOUR_CHAR_CODE("pref") };
enum : Boolean { kDontCreateFolder = 0, kCreateFolder = 1 };

// Access to a file's data.
enum : SInt8 { fsCurPerm = 0, fsRdPerm = 1, fsWrPerm = 2, fsRdWrPerm = 3 };
// Where a read or write starts.
enum : UInt16 { fsAtMark = 0, fsFromStart = 1, fsFromLEOF = 2, fsFromMark = 3 };

// Paths and references.

// Resolves a path (UTF-8 bytes, NUL-ended; relative paths start at the
// current folder; symbolic links are followed) to a reference. isDirectory,
// when given, says whether the item is a folder. A trailing "/" asks for a
// folder. A component that does not exist as it is written may stand in its
// shortened form ("prefix#<HEX inode>.ext", see platform::short_text_of) at
// any depth; it is found in its folder by the inode. The first component may
// be an anchor ("@<HEX directory ID>:<volume>" and "~" placeholders). Returns fnfErr for a
// missing item or an empty path, dirNFErr when a folder on the way is a file;
// ref is then left untouched.
OSStatus FSPathMakeRef(const UInt8* path, FSRef* ref, Boolean* isDirectory);

// Gives the FSSpec of a reference (and records its parent folder in the
// directory catalog) and, when parentRef is given, the parent folder's
// reference. whichInfo must be kFSCatInfoNone and outName null: no catalog
// information is filled (paramErr otherwise). fnfErr when the item is gone.
OSErr FSGetCatalogInfo(const FSRef* ref, FSCatalogInfoBitmap whichInfo, void* catalogInfo,
                       void* outName, FSSpec* fsSpec, FSRef* parentRef);

// Resolves an FSSpec through the directory catalog. Returns nsvErr for an
// unknown volume (the all-zero FSSpec included), dirNFErr when the parent
// folder is not known or gone (searched for first, see above), bdNamErr for a name longer than 63
// characters, empty, "." or ".." or holding "/", fnfErr when no such item is there.
OSErr FSpMakeFSRef(const FSSpec* spec, FSRef* ref);

// The URL of a reference; null when the item is gone. The caller releases it.
CFURLRef CFURLCreateFromFSRef(CFAllocatorRef allocator, const FSRef* ref);
// The reference of a URL; false when nothing exists at its path.
Boolean CFURLGetFSRef(CFURLRef url, FSRef* ref);

// Finds the item `name` (UTF-16, nameLength units) in the folder parentRef. fnfErr
// when there is none, bdNamErr for an empty name or one holding "/".
OSErr FSMakeFSRefUnicode(const FSRef* parentRef, UniCharCount nameLength, const UniChar* name,
                         TextEncoding textEncodingHint, FSRef* newRef);

// Creates a folder (mkdir, permissions from the umask) in parentRef.
// whichInfo must be kFSCatInfoNone. dupFNErr when the name is taken. Each of
// newRef, newSpec and newDirID is filled when given.
OSErr FSCreateDirectoryUnicode(const FSRef* parentRef, UniCharCount nameLength, const UniChar* name,
                               FSCatalogInfoBitmap whichInfo, const void* catalogInfo,
                               FSRef* newRef, FSSpec* newSpec, UInt32* newDirID);

// Creates an empty file, without type or creator code. dupFNErr when an item
// of that name exists (which is left as it was).
OSErr FSCreateFileUnicode(const FSRef* parentRef, UniCharCount nameLength, const UniChar* name,
                          FSCatalogInfoBitmap whichInfo, const void* catalogInfo, FSRef* newRef,
                          FSSpec* newSpec);

// Deletes a file or an empty folder.
OSErr FSDeleteObject(const FSRef* ref);

// The user's folder of a type: the preferences folder (kPreferencesFolderType)
// of kUserDomain is $XDG_CONFIG_HOME, by default ~/.config. With
// kCreateFolder a missing folder is made (mode 0700, as the XDG base
// directory rules ask); otherwise a missing one gives fnfErr. Other domains
// and types give fnfErr.
OSErr FSFindFolder(FSVolumeRefNum vRefNum, OSType folderType, Boolean createFolder,
                   FSRef* foundRef);

// Catalog lookups.

// The item a parameter block names, as PBGetCatInfoSync reads and fills it.
struct HFileInfo {
  OSErr ioResult;       // out: the status
  StringPtr ioNamePtr;  // in: the item's name (Mac Roman); length above 63 gives bdNamErr
  SInt16 ioVRefNum;     // in: the volume
  SInt16 ioFDirIndex;   // in: 0, look up by name (indexed lookups give paramErr)
  SInt8 ioFlAttrib;     // out: 0x10 for a folder
  SInt32 ioDirID;       // in: the parent folder's ID; out: the item's own ID
  SInt32 ioFlParID;     // out: the parent folder's ID
  SInt32 ioFlLgLen;     // out: a file's length in bytes, cut at 2 GB
};
struct CInfoPBRec {
  HFileInfo hFileInfo;
};
using CInfoPBPtr = CInfoPBRec*;

enum : SInt8 { kioFlAttribDirMask = 0x10 };

// Looks up an item by volume, parent directory ID and name (a stat(2) of the
// catalog's path). Files and folders both count. Returns the status it also
// stores in ioResult.
OSErr PBGetCatInfoSync(CInfoPBPtr pb);

// Finder information of a file: the type from its content type (JPEG, TIFF,
// PNGf, 8BPS, GIFf, PDF , BMP , EPSF, TEXT; APPL for a desktop entry or an
// executable program; 0 when unknown), found from the format's signature,
// then the file name's extension, then GIO's content type; the creator code
// from netatalk's Finder-info extended attribute (user.org.netatalk.Metadata)
// or 0; flags, location and folder 0. fnfErr for a folder or a missing file.
OSErr FSpGetFInfo(const FSSpec* spec, FInfo* info);

// File data. A file reference number names an open file until it is closed;
// at most 64 are open at once (tmfoErr). Opening refuses folders, pipes and
// devices (notAFileErr) and never blocks.

// Opens a file's data for reading (fsRdPerm), writing (fsWrPerm) or both
// (fsRdWrPerm); fsCurPerm tries both, then reading only.
OSErr FSpOpenDF(const FSSpec* spec, SInt8 permission, SInt16* refNum);
// Opens the data fork (forkName empty, or null with a length of 0); any other
// fork gives errFSForkNotFound.
OSErr FSOpenFork(const FSRef* ref, UniCharCount forkNameLength, const UniChar* forkName,
                 SInt8 permissions, SInt16* forkRefNum);

// Reads *count bytes at the mark and moves the mark past them. Fewer bytes
// than asked at the end of the file: eofErr, with *count saying how many.
OSErr FSRead(SInt16 refNum, long* count, void* buffPtr);
// Reads requestCount bytes from the position; eofErr when the file ends
// first. actualCount, when given, receives the bytes read, which are in the
// buffer even when the read ends early.
OSErr FSReadFork(SInt16 forkRefNum, UInt16 positionMode, SInt64 positionOffset,
                 ByteCount requestCount, void* buffer, ByteCount* actualCount);
// Writes requestCount bytes at the position. actualCount receives the bytes
// written, also when the write fails part way (dskFulErr for a full disk).
// wrPermErr on a file opened for reading only.
OSErr FSWriteFork(SInt16 forkRefNum, UInt16 positionMode, SInt64 positionOffset,
                  ByteCount requestCount, const void* buffer, ByteCount* actualCount);
// Sets the file's length (ftruncate).
OSErr FSSetForkSize(SInt16 forkRefNum, UInt16 positionMode, SInt64 positionOffset);
// Writes the file's data through to the disk (fsync).
OSErr FSFlushFork(SInt16 forkRefNum);
// Closes the file; the status of close(2), so that a late write error is seen.
OSErr FSCloseFork(SInt16 forkRefNum);
OSErr FSClose(SInt16 refNum);

namespace platform {

// Texts in the program's short texts (at most 255 Mac Roman characters).

// The Mac Roman text that stands for a UTF-8 text: its exact Mac Roman form
// when it has one within 255 characters. Otherwise, for the absolute path of an
// existing item, the same path with each component that has no Mac Roman form
// written as file specifications write such names ("prefix#<HEX inode>.ext"),
// and further components shortened that way, longest first, until it fits;
// a path too deep even for that begins with an anchor that names one of its
// folders through the directory catalog ("@<HEX directory ID>:<volume>", then
// "~" for each further folder it stands for). It keeps one "/" for each of
// the path's folders, so it can be cut at any of them, and FSPathMakeRef
// resolves it, and each of its folders, back to the same items and only to
// them. Any other text (or a path of more than 127 levels) gets its nearest
// Mac Roman form, which may be longer than 255 characters.
std::string short_text_of(std::string_view utf8);
// The UTF-8 text that a Mac Roman text stands for: the real path of the item
// when it is an absolute path with shortened components that leads to one,
// its characters otherwise.
std::string text_of_short_text(std::string_view mac_roman);

// Files open through the calls above.
std::size_t open_file_count();

}  // namespace platform
