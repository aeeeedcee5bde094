#pragma once
// Run-time errors carry the platform's error numbers; every trap in the drill
// hands the number to the error report.

#include <stdexcept>
#include <string>

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
    explicit RuntimeError(int number)
        : std::runtime_error("run-time error " + std::to_string(number)), number_(number) {}
    [[nodiscard]] int number() const noexcept { return number_; }

private:
    int number_;
};

}  // namespace qadrill
