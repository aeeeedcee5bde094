#pragma once
// The POSIX calls behind SystemFiles that can fail, one each, returning what
// the call returns with its errno.  The test files derive from it to inject
// faults.  (Windows has its own SystemCalls; CMake builds one of the two.)

#include <sys/types.h>

#include <cstddef>
#include <filesystem>

namespace qadrill {

class SystemCalls {
public:
    SystemCalls();
    virtual ~SystemCalls() = default;
    SystemCalls(const SystemCalls&) = delete;
    SystemCalls& operator=(const SystemCalls&) = delete;

    // Whose files the logs must be: the effective user.
    [[nodiscard]] uid_t user() const { return user_; }

    virtual int open(const std::filesystem::path& path, int flags, mode_t mode);
    virtual int lock(int fd);  // exclusive, non-blocking
    virtual ssize_t write(int fd, const void* data, std::size_t size);
    virtual ssize_t writeAt(int fd, const void* data, std::size_t size, off_t offset);
    virtual int truncate(int fd, off_t size);
    virtual int fsync(int fd);
    virtual ssize_t read(int fd, void* data, std::size_t size, off_t offset);
    virtual int makeDirectory(const std::filesystem::path& path, mode_t mode);

private:
    uid_t user_;
};

}  // namespace qadrill
