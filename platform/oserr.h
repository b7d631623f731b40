// Operating-system errors as platform statuses. Every backing that calls the
// operating system passes its errno through status_from_errno, so that one
// table decides what the system's code sees.
#pragma once

#include "platform/types.h"

// File Manager statuses beyond the shared ones in types.h.
enum : OSErr {
  tmfoErr = -42,        // too many files open
  wPrErr = -44,         // the volume is write-protected (read-only file system)
  fBsyErr = -47,        // the file or folder is busy
  notAFileErr = -1302,  // a folder (or a device, a pipe) where a file was expected
  diffVolErr = -1303,   // the two items lie on different volumes
  errFSForkNotFound = -1409,
};

namespace platform {

// The status for an errno value: ENOENT and ELOOP fnfErr, ENOTDIR dirNFErr, EEXIST and
// ENOTEMPTY dupFNErr, EACCES and EPERM permErr, ENOSPC and EDQUOT dskFulErr,
// EROFS wPrErr, ENAMETOOLONG and EINVAL bdNamErr, EMFILE and ENFILE
// tmfoErr, EBUSY and ETXTBSY fBsyErr, EISDIR notAFileErr, EXDEV diffVolErr,
// ENOMEM memFullErr, EBADF fnOpnErr, 0 noErr; any other value ioErr.
OSErr status_from_errno(int error);

}  // namespace platform
