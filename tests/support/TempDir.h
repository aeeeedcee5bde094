#pragma once
// A fresh directory in the system's temporary folder ($TMPDIR or /tmp on
// POSIX, %TEMP% on Windows), removed with everything in it when the object
// goes.

#include <filesystem>

namespace qadrill::testing {

class TempDir final {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    [[nodiscard]] const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace qadrill::testing
