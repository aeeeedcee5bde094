// The system calls behind SystemFiles and the program's last step on Windows.
#include "platform/win32/SystemCallsWin32.h"

#include <windows.h>

#include <cstdlib>
#include <limits>

namespace qadrill {

namespace {

// Two copies of the program append to the same logs; a reader may look on.
constexpr DWORD shareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

OVERLAPPED overlappedAt(std::uint64_t offset) {
    OVERLAPPED overlapped{};
    overlapped.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFU);
    overlapped.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return overlapped;
}

}  // namespace

// The form that lifts MAX_PATH: \\?\c:\... or \\?\UNC\server\share\...;
// it takes the path as it stands, so it is made whole first.
std::wstring longPathOf(const std::filesystem::path& path) {
    std::wstring text = path.lexically_normal().make_preferred().wstring();
    if (text.starts_with(L"\\\\?\\")) return text;
    if (text.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + text.substr(2);
    if (text.size() >= 3 && text[1] == L':' && text[2] == L'\\') return L"\\\\?\\" + text;
    return text;
}

void exitAtOnce() {
    TerminateProcess(GetCurrentProcess(), 0);
    std::_Exit(0);
}

void* SystemCalls::createFile(const std::filesystem::path& path, unsigned long access, unsigned long disposition,
                              unsigned long attributes, const void* descriptor) {
    SECURITY_ATTRIBUTES security{sizeof(SECURITY_ATTRIBUTES), const_cast<void*>(descriptor), FALSE};
    return CreateFileW(longPathOf(path).c_str(), access, shareAll, descriptor != nullptr ? &security : nullptr,
                       disposition, attributes, nullptr);
}

bool SystemCalls::lock(void* handle) {
    OVERLAPPED whole = overlappedAt(0);
    return LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD, &whole) !=
           FALSE;
}

bool SystemCalls::write(void* handle, const void* data, unsigned long size, unsigned long& written) {
    // Both offsets all ones: at the end of the file, as an append-only handle would.
    OVERLAPPED end = overlappedAt(std::numeric_limits<std::uint64_t>::max());
    written = 0;
    return WriteFile(handle, data, size, &written, &end) != FALSE;
}

bool SystemCalls::writeAt(void* handle, std::uint64_t offset, const void* data, unsigned long size,
                          unsigned long& written) {
    OVERLAPPED where = overlappedAt(offset);
    written = 0;
    return WriteFile(handle, data, size, &written, &where) != FALSE;
}

bool SystemCalls::truncate(void* handle, std::uint64_t size) {
    LARGE_INTEGER target{};
    target.QuadPart = static_cast<LONGLONG>(size);
    return SetFilePointerEx(handle, target, nullptr, FILE_BEGIN) != FALSE && SetEndOfFile(handle) != FALSE;
}

bool SystemCalls::flush(void* handle) { return FlushFileBuffers(handle) != FALSE; }

bool SystemCalls::read(void* handle, std::uint64_t offset, void* data, unsigned long size, unsigned long& got) {
    OVERLAPPED from = overlappedAt(offset);
    got = 0;
    return ReadFile(handle, data, size, &got, &from) != FALSE;
}

bool SystemCalls::createDirectory(const std::filesystem::path& path) {
    return CreateDirectoryW(longPathOf(path).c_str(), nullptr) != FALSE;
}

}  // namespace qadrill
