#include <cstdlib>
#include <string>

#include "platform/system/DrivePath.h"
#include "platform/system/StateFolder.h"

namespace qadrill {

namespace {

std::filesystem::path homeDirectory() {
    const char* home = std::getenv("HOME");
    return home != nullptr && *home != '\0' ? std::filesystem::path(home) : std::filesystem::path("/");
}

std::filesystem::path fromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? std::filesystem::path(value) : std::filesystem::path();
}

}  // namespace

// A relative XDG_STATE_HOME is to be ignored, as the base directory rules say.
std::filesystem::path userStateFolder() {
    const std::filesystem::path state = fromEnvironment("XDG_STATE_HOME");
    if (state.is_absolute()) return state / "qadrill";
    const std::filesystem::path home = fromEnvironment("HOME");
    if (!home.is_absolute()) return {};
    return home / ".local" / "state" / "qadrill";
}

std::string missingStateFolderReason() {
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home == '\0') return "HOME is not set, so the drill has no private folder for its journal";
    return "HOME is not an absolute path (" + std::string(home) +
           "), so the drill has no private folder for its journal";
}

DriveMap desktopDriveMap() {
    return [](char16_t letter) {
        if (letter == u'c') return homeDirectory();
        return std::filesystem::path("/mnt") / std::string(1, static_cast<char>(letter));
    };
}

}  // namespace qadrill
