// The faulty files of Windows: each hook fails with the Windows error of the
// same failure as the planned errno.
#include <windows.h>

#include <cerrno>

#include "platform/system/SystemFiles.h"
#include "platform/win32/SystemCallsWin32.h"
#include "tests/support/FaultyHost.h"

namespace qadrill::testing {

namespace {

// The Windows error behind the same failure as a planned errno.
DWORD windowsErrorFor(int errnoValue) {
    switch (errnoValue) {
        case EACCES:
            return ERROR_ACCESS_DENIED;
        case EMFILE:
            return ERROR_TOO_MANY_OPEN_FILES;
        case ENOSPC:
            return ERROR_DISK_FULL;
        case EFBIG:
            return ERROR_FILE_TOO_LARGE;
        case EAGAIN:
        case EWOULDBLOCK:
            return ERROR_LOCK_VIOLATION;
        case ENOENT:
            return ERROR_PATH_NOT_FOUND;
        case EEXIST:
            return ERROR_ALREADY_EXISTS;
        default:
            return ERROR_IO_DEVICE;
    }
}

bool failWith(int errnoValue) {
    SetLastError(windowsErrorFor(errnoValue));
    return false;
}

// A lock on an open is a file another program has open without sharing.
DWORD openErrorFor(int errnoValue) {
    const DWORD error = windowsErrorFor(errnoValue);
    return error == ERROR_LOCK_VIOLATION ? ERROR_SHARING_VIOLATION : error;
}

void* failOpenWith(int errnoValue) {
    SetLastError(openErrorFor(errnoValue));
    return INVALID_HANDLE_VALUE;
}

class FaultyCalls final : public SystemCalls {
public:
    explicit FaultyCalls(FaultPlan& plan) : plan_(plan) {}

    void* createFile(const std::filesystem::path& path, unsigned long access, unsigned long disposition,
                     unsigned long attributes, const void* descriptor) override {
        // A log is looked for, then made: one open, as one call opens it on POSIX.
        if (disposition == CREATE_NEW)
            return SystemCalls::createFile(path, access, disposition, attributes, descriptor);
        return plan_.serve(
            FileOperation::open,
            [&] { return SystemCalls::createFile(path, access, disposition, attributes, descriptor); }, failOpenWith);
    }
    bool lock(void* handle) override {
        return plan_.serve(
            FileOperation::lock, [&] { return SystemCalls::lock(handle); }, failWith);
    }
    bool write(void* handle, const void* data, unsigned long size, unsigned long& written) override {
        return plannedWrite(size, written,
                            [&](unsigned long n) { return SystemCalls::write(handle, data, n, written); });
    }
    bool writeAt(void* handle, std::uint64_t offset, const void* data, unsigned long size,
                 unsigned long& written) override {
        return plannedWrite(size, written,
                            [&](unsigned long n) { return SystemCalls::writeAt(handle, offset, data, n, written); });
    }
    bool truncate(void* handle, std::uint64_t size) override {
        return plan_.serve(
            FileOperation::truncate, [&] { return SystemCalls::truncate(handle, size); }, failWith);
    }
    bool flush(void* handle) override {
        return plan_.serve(
            FileOperation::fsync, [&] { return SystemCalls::flush(handle); }, failWith);
    }
    bool read(void* handle, std::uint64_t offset, void* data, unsigned long size, unsigned long& got) override {
        got = 0;
        return plan_.serve(
            FileOperation::read, [&] { return SystemCalls::read(handle, offset, data, size, got); }, failWith);
    }
    bool createDirectory(const std::filesystem::path& path) override {
        return plan_.serve(
            FileOperation::makeDirectory, [&] { return SystemCalls::createDirectory(path); }, failWith);
    }

private:
    template <typename RealWrite>
    bool plannedWrite(unsigned long size, unsigned long& written, RealWrite realWrite) {
        written = 0;
        const FaultPlan::WritePlan plan = plan_.planWrite(size);
        if (plan.errnoValue) return failWith(*plan.errnoValue);
        const bool done = realWrite(static_cast<unsigned long>(plan.allowed));
        plan_.wrote(written);
        return done;
    }

    FaultPlan& plan_;
};

}  // namespace

const bool FaultyHost::callsCanBeInterrupted = false;

int systemErrorFor(FileOperation operation, int errnoValue) {
    return static_cast<int>(operation == FileOperation::open ? openErrorFor(errnoValue) : windowsErrorFor(errnoValue));
}

std::unique_ptr<SystemFiles> faultyFiles(FaultPlan& plan) {
    return std::make_unique<SystemFiles>(std::make_unique<FaultyCalls>(plan));
}

}  // namespace qadrill::testing
