// The Process Manager: the running processes that this program may address.
// On Linux the list holds this program itself and, when the desktop has one,
// its file manager with the signature 'MACS' (platform/filemanager.h says how
// it is found). The list is taken afresh each time it is walked from
// kNoProcess.
#pragma once

#include <string>
#include <vector>

#include "platform/types.h"

struct ProcessSerialNumber {
  UInt32 highLongOfPSN;
  UInt32 lowLongOfPSN;
};
static_assert(sizeof(ProcessSerialNumber) == 8);

enum : UInt32 { kNoProcess = 0, kSystemProcess = 1, kCurrentProcess = 2 };

// The file manager's signature, and this program's (none of its own).
enum : OSType {
  kFileManagerSignature = FOUR_CHAR_CODE("MACS"),
  kNoSignature = FOUR_CHAR_CODE("????")
};

struct ProcessInfoRec {
  UInt32 processInfoLength;  // kProcessInfoRecLength
  StringPtr processName;     // null, or 32 bytes for the name as short text
  ProcessSerialNumber processNumber;
  UInt32 processType;
  OSType processSignature;
  UInt32 processMode;
  Ptr processLocation;
  UInt32 processSize;
  UInt32 processFreeMem;
  ProcessSerialNumber processLauncher;
  UInt32 processLaunchDate;
  UInt32 processActiveTime;
  FSSpec* processAppSpec;  // null, or receives the application's FSSpec
};
// The value callers put in processInfoLength: the record's length on the
// 32-bit platform that defined it. It names the record's version, not its
// size in this program's memory.
constexpr UInt32 kProcessInfoRecLength = 60;

// Steps to the process after *psn (from kNoProcess: the first). After the
// last one, *psn becomes kNoProcess and the result is procNotFound, as it is
// for a process number that is not in the list.
OSErr GetNextProcess(ProcessSerialNumber* psn);
// Fills info for the process. paramErr when processInfoLength is less than
// kProcessInfoRecLength; procNotFound for an unknown process. The name is
// Mac Roman, cut at 31 characters. processAppSpec receives the FSSpec
// of the application's desktop entry or executable, or all zeros when that is
// not known.
OSErr GetProcessInformation(const ProcessSerialNumber* psn, ProcessInfoRec* info);
// Asks that the process come to the front. For the file manager this takes a
// startup id now, which travels with the next request it is sent (the
// desktop's way of letting a program raise another's window); this program
// is already in front. procNotFound for an unknown process.
OSErr SetFrontProcess(const ProcessSerialNumber* psn);
// The process last asked to come to the front (this program at first).
OSErr GetFrontProcess(ProcessSerialNumber* psn);

namespace platform {

// Who is behind a process number.
enum class Receiver { none, self, file_manager };
Receiver receiver_of(const ProcessSerialNumber& psn);

// Asks the file manager process to show the items (absolute paths), with the
// startup id of a pending SetFrontProcess, which is used up. timeout_ms < 0:
// the default. See AESend for the statuses.
// Waiting: returns the file manager's answer, and nothing else runs
// meanwhile. Not waiting: returns once the request is on its way; a refusal
// that arrives later sounds the bell once (a file manager that is merely slow,
// or never answers, costs nothing).
OSErr show_items_in_file_manager(const ProcessSerialNumber& psn,
                                 const std::vector<std::string>& paths, int timeout_ms, bool wait);
// Requests sent without waiting whose answer has not arrived yet.
int file_manager_requests_in_flight();

// The path of this program's own executable; empty when it cannot be had.
// Backed by /proc/self/exe.
std::string own_path();

}  // namespace platform
