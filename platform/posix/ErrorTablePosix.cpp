#include "platform/system/ErrorTable.h"

#include <cerrno>
#include <system_error>

#include "platform/RuntimeError.h"

namespace qadrill {

namespace {

// Answers that do not depend on the operation, or 0.
int commonError(int errnoValue) {
    switch (errnoValue) {
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
        case ELOOP:  // a link where a log's name should be
        case ENXIO:  // a FIFO, socket or device there
        case ENODEV:
            return err::accessDenied;
        case EAGAIN:
#if EWOULDBLOCK != EAGAIN
        case EWOULDBLOCK:
#endif
        case EBUSY:
        case ETXTBSY:
            return err::fileLocked;
        case ENOSPC:
        case EFBIG:
        case EDQUOT:
            return err::diskFull;
        case EMFILE:
        case ENFILE:
            return err::tooManyFiles;
        case ENAMETOOLONG:
        case EILSEQ:
            return err::badFileName;
        default:
            return 0;
    }
}

}  // namespace

int runtimeErrorFor(int errnoValue, FileOperation operation, FileMode mode) {
    // A sync or a cut-back that fails is the device's fault, whatever it says.
    if (operation == FileOperation::fsync || operation == FileOperation::truncate) {
        const bool full = errnoValue == ENOSPC || errnoValue == EDQUOT;
        return full ? err::diskFull : err::deviceIo;
    }
    if (const int common = commonError(errnoValue); common != 0) return common;
    const bool names = operation == FileOperation::open || operation == FileOperation::makeDirectory;
    if (names && errnoValue == EINVAL) return err::badFileName;
    if (names && errnoValue == ENOTDIR) return err::pathNotFound;
    if (names && errnoValue == ENOENT) {
        const bool readsFile = operation == FileOperation::open && mode == FileMode::Input;
        return readsFile ? err::fileNotFound : err::pathNotFound;
    }
    if (operation == FileOperation::makeDirectory && errnoValue == EEXIST) return err::accessDenied;
    return err::deviceIo;
}

std::string systemErrorReason(int errnoValue) { return std::generic_category().message(errnoValue); }

}  // namespace qadrill
