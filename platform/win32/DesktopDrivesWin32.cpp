#include <windows.h>

#include <string>

#include "platform/system/DrivePath.h"
#include "platform/system/StateFolder.h"

namespace qadrill {

// "c:\" for c: the rest of a drill path follows below it as it stands.
DriveMap desktopDriveMap() {
    return [](char16_t letter) { return std::filesystem::path(std::u16string{letter, u':', u'\\'}); };
}

std::filesystem::path userStateFolder() {
    std::wstring value(32768, L'\0');
    const DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", value.data(), static_cast<DWORD>(value.size()));
    if (length == 0 || length >= value.size()) return {};
    value.resize(length);
    return std::filesystem::path(value) / L"qadrill";
}

std::string missingStateFolderReason() {
    return "LOCALAPPDATA is not set, so the drill has no private folder for its journal";
}

}  // namespace qadrill
