#include "platform/process.h"

#include <memory>
#include <string>
#include <vector>

#include "platform/alerts.h"
#include "platform/filemanager.h"
#include "platform/files.h"
#include "platform/startup.h"
#include "platform/text.h"

namespace platform {
namespace {

// This program's own number: fixed for the whole run.
constexpr ProcessSerialNumber kSelf{0, 0x2000};
// File managers get numbers from here on, a new one for each new provider.
constexpr UInt32 kFirstFileManagerNumber = 0x2001;

struct FileManagerProcess {
  ProcessSerialNumber psn;
  std::unique_ptr<FileManager> manager;
  std::string startup_id;  // a pending request to come to the front
};

struct ProcessTable {
  std::unique_ptr<FileManagerProcess> file_manager;
  UInt32 next_number = kFirstFileManagerNumber;
  ProcessSerialNumber front = kSelf;
};

int g_in_flight = 0;

ProcessTable& table() {
  static ProcessTable t;
  return t;
}

bool same(const ProcessSerialNumber& a, const ProcessSerialNumber& b) {
  return a.highLongOfPSN == b.highLongOfPSN && a.lowLongOfPSN == b.lowLongOfPSN;
}

bool is_none(const ProcessSerialNumber& psn) {
  return psn.highLongOfPSN == 0 && psn.lowLongOfPSN == kNoProcess;
}

// Takes the list afresh: the file manager keeps its number while the same
// provider is found again.
void refresh() {
  auto& t = table();
  auto found = find_file_manager();
  if (!found) {
    t.file_manager.reset();
    return;
  }
  if (t.file_manager && t.file_manager->manager->identity() == found->identity()) {
    t.file_manager->manager = std::move(found);
    return;
  }
  t.file_manager = std::make_unique<FileManagerProcess>();
  t.file_manager->psn = {0, t.next_number++};
  t.file_manager->manager = std::move(found);
}

FileManagerProcess* file_manager_with(const ProcessSerialNumber& psn) {
  auto& fm = table().file_manager;
  return fm && same(fm->psn, psn) ? fm.get() : nullptr;
}

// The FSSpec of the application's file; all zeros when it is not
// known or cannot be had.
FSSpec application_spec(const std::string& path) {
  FSSpec spec{};
  FSRef ref;
  if (path.empty()) return spec;
  if (FSPathMakeRef(reinterpret_cast<const UInt8*>(path.c_str()), &ref, nullptr) != noErr)
    return spec;
  if (FSGetCatalogInfo(&ref, kFSCatInfoNone, nullptr, nullptr, &spec, nullptr) != noErr)
    spec = FSSpec{};
  return spec;
}

std::string own_name() {
  std::string full = own_path();
  return full.empty() ? "tavrine" : full.substr(full.rfind('/') + 1);
}

void put_name(const std::string& utf8, StringPtr out) {
  std::string roman = utf8_to_mac_roman_lossy(utf8);
  std::size_t length = roman.size() < 31 ? roman.size() : 31;
  out[0] = static_cast<unsigned char>(length);
  for (std::size_t i = 0; i < length; ++i) out[i + 1] = static_cast<unsigned char>(roman[i]);
}

}  // namespace

Receiver receiver_of(const ProcessSerialNumber& psn) {
  if (same(psn, kSelf)) return Receiver::self;
  return file_manager_with(psn) ? Receiver::file_manager : Receiver::none;
}

OSErr show_items_in_file_manager(const ProcessSerialNumber& psn,
                                 const std::vector<std::string>& paths, int timeout_ms, bool wait) {
  FileManagerProcess* fm = file_manager_with(psn);
  if (fm == nullptr) return procNotFound;
  std::string startup_id = std::move(fm->startup_id);
  fm->startup_id.clear();
  // Announced first, so that the window manager lets the file manager's
  // window come forward when it names the id.
  announce_startup(startup_id, fm->manager->name());
  if (wait) return show_items_and_wait(*fm->manager, paths, startup_id, timeout_ms);
  ++g_in_flight;
  OSErr sent = fm->manager->show_items(paths, startup_id, timeout_ms, [](OSErr answer) {
    --g_in_flight;
    if (answer == connectionInvalid) SysBeep(5);
  });
  if (sent != noErr) --g_in_flight;
  return sent;
}

int file_manager_requests_in_flight() {
  return g_in_flight;
}

}  // namespace platform

OSErr GetNextProcess(ProcessSerialNumber* psn) {
  using namespace platform;
  if (psn == nullptr) return paramErr;
  if (is_none(*psn)) {
    refresh();
    *psn = kSelf;
    return noErr;
  }
  if (same(*psn, kSelf) && table().file_manager) {
    *psn = table().file_manager->psn;
    return noErr;
  }
  *psn = {0, kNoProcess};
  return procNotFound;
}

OSErr GetProcessInformation(const ProcessSerialNumber* psn, ProcessInfoRec* info) {
  using namespace platform;
  if (psn == nullptr || info == nullptr || info->processInfoLength < kProcessInfoRecLength) {
    return paramErr;
  }
  Receiver who = receiver_of(*psn);
  if (who == Receiver::none) return procNotFound;
  const FileManager* fm =
      who == Receiver::file_manager ? table().file_manager->manager.get() : nullptr;
  info->processNumber = *psn;
  info->processType = FOUR_CHAR_CODE("APPL");
  info->processSignature = fm ? kFileManagerSignature : kNoSignature;
  info->processMode = 0;
  info->processLocation = nullptr;
  info->processSize = info->processFreeMem = 0;
  info->processLauncher = {0, kNoProcess};
  info->processLaunchDate = info->processActiveTime = 0;
  if (info->processName) put_name(fm ? fm->name() : own_name(), info->processName);
  if (info->processAppSpec) {
    *info->processAppSpec = application_spec(fm ? fm->application_path() : own_path());
  }
  return noErr;
}

OSErr SetFrontProcess(const ProcessSerialNumber* psn) {
  using namespace platform;
  if (psn == nullptr) return paramErr;
  Receiver who = receiver_of(*psn);
  if (who == Receiver::none) return procNotFound;
  if (who == Receiver::file_manager) table().file_manager->startup_id = make_startup_id();
  table().front = *psn;
  return noErr;
}

OSErr GetFrontProcess(ProcessSerialNumber* psn) {
  if (psn == nullptr) return paramErr;
  *psn = platform::table().front;
  return noErr;
}
