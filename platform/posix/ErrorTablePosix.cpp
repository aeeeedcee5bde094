#include "platform/system/ErrorTable.h"

#include <array>
#include <cerrno>
#include <system_error>

#include "platform/RuntimeError.h"

namespace qadrill {

namespace {

// The answers that do not depend on the operation.  A link where a log's
// name should be is ELOOP; a FIFO, socket or device there ENXIO or ENODEV.
constexpr std::array<ErrorGroup, 5> commonErrors = {{
    {err::accessDenied, {EACCES, EPERM, EROFS, EISDIR, ELOOP, ENXIO, ENODEV}},
    {err::fileLocked, {EAGAIN, EWOULDBLOCK, EBUSY, ETXTBSY}},
    {err::diskFull, {ENOSPC, EFBIG, EDQUOT}},
    {err::tooManyFiles, {EMFILE, ENFILE}},
    {err::badFileName, {ENAMETOOLONG, EILSEQ}},
}};

}  // namespace

int runtimeErrorFor(int errnoValue, FileOperation operation, FileMode mode) {
    // A sync or a cut-back that fails is the device's fault, whatever it says.
    if (operation == FileOperation::fsync || operation == FileOperation::truncate) {
        const bool full = errnoValue == ENOSPC || errnoValue == EDQUOT;
        return full ? err::diskFull : err::deviceIo;
    }
    if (const int common = drillErrorIn(commonErrors, errnoValue); common != 0) return common;
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
