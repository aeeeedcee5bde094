#include <windows.h>

#include <string>

#include "tests/platform/system/LockHolder.h"

namespace qadrill::testing {

LockHolder::LockHolder(const std::filesystem::path& file, std::chrono::milliseconds holdFor,
                       const std::string& lastWords) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (CreatePipe(&readEnd, &writeEnd, &inherit, 0) == FALSE) return;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    std::wstring command =
        L"\"" QADRILL_LOCK_HOLDER L"\" \"" + file.wstring() + L"\" " + std::to_wstring(holdFor.count());
    // The last words are plain ASCII in the tests, without quotes: widened
    // byte by byte, and quoted so their spaces keep them one argument.
    if (!lastWords.empty()) command += L" \"" + std::wstring(lastWords.begin(), lastWords.end()) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION started{};
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &started)) {
        CloseHandle(started.hThread);
        process_ = reinterpret_cast<std::intptr_t>(started.hProcess);
    }
    CloseHandle(writeEnd);
    char answer = 'F';
    DWORD got = 0;
    held_ = process_ != -1 && ReadFile(readEnd, &answer, 1, &got, nullptr) && got == 1 && answer == 'L';
    CloseHandle(readEnd);
}

LockHolder::~LockHolder() {
    if (process_ == -1) return;
    const auto process = reinterpret_cast<HANDLE>(process_);
    TerminateProcess(process, 0);
    WaitForSingleObject(process, INFINITE);
    CloseHandle(process);
}

}  // namespace qadrill::testing
