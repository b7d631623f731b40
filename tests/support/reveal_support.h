// Helpers shared by the reveal suites: the process list as the reveal walks
// it, resolved items and a hand-made reveal event.
#pragma once

#include <filesystem>
#include <string>

#include "platform/files.h"
#include "platform/process.h"

namespace testing_support {

// The first process with the signature, or kNoProcess.
ProcessSerialNumber find_process(OSType signature);
// Every signature of the process list, in order.
std::string process_signatures();
bool is_no_process(const ProcessSerialNumber& psn);
// The item as a file reference (path, device, inode).
FSRef ref_of(const std::filesystem::path& item);
// Sends misc/mvis with an alias of the item as the direct object; disposes
// of everything it made. Waits for the file manager's answer when asked to;
// otherwise returns once the request is on its way.
OSErr send_reveal(const ProcessSerialNumber& psn, const std::filesystem::path& item,
                  bool wait = false);
// The file:// URI of a path made only of characters that need no escaping
// (as the temporary folders are).
std::string uri_of(const std::filesystem::path& path);

}  // namespace testing_support
