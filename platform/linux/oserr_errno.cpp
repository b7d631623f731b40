#include "platform/oserr.h"

#include <cerrno>

namespace platform {

OSErr status_from_errno(int error) {
  switch (error) {
    case 0:
      return noErr;
    case ENOENT:
    case ELOOP:
      return fnfErr;
    case ENOTDIR:
      return dirNFErr;
    case EEXIST:
    case ENOTEMPTY:
      return dupFNErr;
    case EACCES:
    case EPERM:
      return permErr;
    case ENOSPC:
    case EDQUOT:
      return dskFulErr;
    case EROFS:
      return wPrErr;
    case ENAMETOOLONG:
    case EINVAL:
      return bdNamErr;
    case EMFILE:
    case ENFILE:
      return tmfoErr;
    case EBUSY:
    case ETXTBSY:
      return fBsyErr;
    case EISDIR:
      return notAFileErr;
    case EXDEV:
      return diffVolErr;
    case ENOMEM:
      return memFullErr;
    case EBADF:
      return fnOpnErr;
    default:
      return ioErr;
  }
}

}  // namespace platform
