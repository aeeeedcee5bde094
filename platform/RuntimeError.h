#pragma once
// Run-time errors carry the platform's error numbers; every trap in the drill
// hands the number to the error report.

#include <filesystem>
#include <stdexcept>
#include <string>
#include <utility>

namespace qadrill {

namespace err {
// decode: a computed code has no character.
inline constexpr int invalidArgument = 5;
inline constexpr int subscriptOutOfRange = 9;
inline constexpr int typeMismatch = 13;
inline constexpr int badFileName = 52;
inline constexpr int badFileMode = 54;
inline constexpr int fileNotFound = 53;
inline constexpr int fileAlreadyOpen = 55;
inline constexpr int deviceIo = 57;
inline constexpr int diskFull = 61;
inline constexpr int tooManyFiles = 67;
inline constexpr int fileLocked = 70;
inline constexpr int accessDenied = 75;
inline constexpr int pathNotFound = 76;
inline constexpr int clipboardUnavailable = 521;
}  // namespace err

class RuntimeError : public std::runtime_error {
public:
    // The reason is the system's own words for the failure and the path the
    // file or folder it concerns (UTF-8); both stay empty when the drill
    // found the fault itself.
    explicit RuntimeError(int number, std::string reason = {}, std::string path = {})
        : std::runtime_error("run-time error " + std::to_string(number)),
          number_(number),
          reason_(std::move(reason)),
          path_(std::move(path)) {}
    [[nodiscard]] int number() const noexcept { return number_; }
    [[nodiscard]] const std::string& reason() const noexcept { return reason_; }
    [[nodiscard]] const std::string& path() const noexcept { return path_; }

    // The same error, naming this path unless it names one already.
    [[nodiscard]] RuntimeError at(const std::string& path) const {
        return RuntimeError(number_, reason_, path_.empty() ? path : path_);
    }

    // "path: reason", or whichever of the two is known; empty when neither.
    [[nodiscard]] std::string detail() const {
        if (path_.empty() || reason_.empty()) return path_ + reason_;
        return path_ + ": " + reason_;
    }

private:
    int number_;
    std::string reason_;
    std::string path_;
};

// Runs an operation on one file or folder; a run-time error it throws names
// that path (unless it names one already), so the report says where to look.
template <typename Operation>
auto tagErrorsWithPath(const std::filesystem::path& path, Operation&& operation) -> decltype(operation()) {
    try {
        return operation();
    } catch (const RuntimeError& error) {
        const std::u8string text = path.u8string();
        throw error.at(std::string(text.begin(), text.end()));
    }
}

}  // namespace qadrill
