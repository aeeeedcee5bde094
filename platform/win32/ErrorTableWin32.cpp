#include <windows.h>

#include "platform/RuntimeError.h"
#include "platform/system/ErrorTable.h"
#include "platform/unicode/Utf8.h"

namespace qadrill {

namespace {

// The answers that do not depend on the operation.
constexpr std::array<ErrorGroup, 6> commonErrors = {{
    {err::pathNotFound,
     {ERROR_PATH_NOT_FOUND, ERROR_INVALID_DRIVE, ERROR_BAD_NETPATH, ERROR_BAD_NET_NAME, ERROR_DIRECTORY}},
    {err::accessDenied, {ERROR_ACCESS_DENIED, ERROR_WRITE_PROTECT, ERROR_CANNOT_MAKE}},
    {err::fileLocked, {ERROR_SHARING_VIOLATION, ERROR_LOCK_VIOLATION}},
    {err::diskFull, {ERROR_DISK_FULL, ERROR_HANDLE_DISK_FULL, ERROR_FILE_TOO_LARGE}},
    {err::tooManyFiles, {ERROR_TOO_MANY_OPEN_FILES}},
    {err::badFileName,
     {ERROR_INVALID_NAME, ERROR_BAD_PATHNAME, ERROR_FILENAME_EXCED_RANGE, ERROR_NO_UNICODE_TRANSLATION}},
}};

}  // namespace

// The same drill numbers as the POSIX table gives for the same failures.
int runtimeErrorFor(int systemError, FileOperation operation, FileMode mode) {
    // A flush or a cut-back that fails is the device's fault, whatever it says.
    if (operation == FileOperation::fsync || operation == FileOperation::truncate) {
        const bool full = systemError == ERROR_DISK_FULL || systemError == ERROR_HANDLE_DISK_FULL;
        return full ? err::diskFull : err::deviceIo;
    }
    if (systemError == ERROR_FILE_NOT_FOUND) {
        // Creating a file in a folder that is there: the name itself is one
        // the file system cannot make (too long, for one).
        const bool creates = operation == FileOperation::open && mode != FileMode::Input;
        return creates ? err::badFileName : err::fileNotFound;
    }
    // Only making a folder can meet a name that is there already.
    if (systemError == ERROR_ALREADY_EXISTS || systemError == ERROR_FILE_EXISTS)
        return operation == FileOperation::makeDirectory ? err::accessDenied : err::deviceIo;
    if (const int common = drillErrorIn(commonErrors, systemError); common != 0) return common;
    return err::deviceIo;
}

// In the user's language, as the system words it, without the line end it adds.
std::string systemErrorReason(int systemError) {
    wchar_t* text = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, static_cast<DWORD>(systemError), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring reason(text != nullptr ? text : L"", length);
    LocalFree(text);
    while (!reason.empty() && (reason.back() == L'\r' || reason.back() == L'\n' || reason.back() == L' '))
        reason.pop_back();
    if (reason.empty()) return "system error " + std::to_string(systemError);
    return toUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(reason.data()), reason.size()));
}

}  // namespace qadrill
