#include <windows.h>

#include "platform/RuntimeError.h"
#include "platform/system/ErrorTable.h"

namespace qadrill {

// The same drill numbers as the POSIX table gives for the same failures.
int runtimeErrorFor(int systemError, FileOperation operation, FileMode mode) {
    // A flush or a cut-back that fails is the device's fault, whatever it says.
    if (operation == FileOperation::fsync || operation == FileOperation::truncate) {
        const auto error = static_cast<DWORD>(systemError);
        const bool full = error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL;
        return full ? err::diskFull : err::deviceIo;
    }
    const bool creates = operation == FileOperation::open && mode != FileMode::Input;
    switch (static_cast<DWORD>(systemError)) {
        case ERROR_FILE_NOT_FOUND:
            // Creating a file in a folder that is there: the name itself is
            // one the file system cannot make (too long, for one).
            return creates ? err::badFileName : err::fileNotFound;
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
        case ERROR_DIRECTORY:
            return err::pathNotFound;
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT:
        case ERROR_CANNOT_MAKE:
            return err::accessDenied;
        case ERROR_ALREADY_EXISTS:
        case ERROR_FILE_EXISTS:
            // Only making a folder can meet a name that is there already.
            return operation == FileOperation::makeDirectory ? err::accessDenied : err::deviceIo;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return err::fileLocked;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
        case ERROR_FILE_TOO_LARGE:
            return err::diskFull;
        case ERROR_TOO_MANY_OPEN_FILES:
            return err::tooManyFiles;
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_FILENAME_EXCED_RANGE:
        case ERROR_NO_UNICODE_TRANSLATION:
            return err::badFileName;
        default:
            return err::deviceIo;
    }
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
    const int bytes =
        WideCharToMultiByte(CP_UTF8, 0, reason.data(), static_cast<int>(reason.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, reason.data(), static_cast<int>(reason.size()), utf8.data(), bytes, nullptr,
                        nullptr);
    return utf8;
}

}  // namespace qadrill
