// lock_holder FILE MILLISECONDS [LAST_WORDS]
//
// Opens FILE as a second copy of the program would, takes the exclusive lock
// the platform takes for a write, says "L" on standard output (or "F" when it
// could not), holds the lock for MILLISECONDS, appends LAST_WORDS (ASCII) to
// the file and exits.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

int wmain(int argc, wchar_t** argv) {
    if (argc != 3 && argc != 4) return 2;
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    HANDLE file = CreateFileW(argv[1], GENERIC_READ | FILE_APPEND_DATA, share, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    OVERLAPPED whole{};
    const bool locked =
        file != INVALID_HANDLE_VALUE && LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole);
    std::fputs(locked ? "L" : "F", stdout);
    std::fflush(stdout);
    Sleep(static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10)));
    if (!locked) return 1;
    std::string lastWords;
    for (const wchar_t* c = argc == 4 ? argv[3] : L""; *c != L'\0'; ++c) lastWords += static_cast<char>(*c);
    DWORD written = 0;
    return WriteFile(file, lastWords.data(), static_cast<DWORD>(lastWords.size()), &written, nullptr) ? 0 : 1;
}
