#include <cstdlib>

#include "platform/system/DrivePath.h"

namespace qadrill {

namespace {

std::filesystem::path homeDirectory() {
    const char* home = std::getenv("HOME");
    return home != nullptr && *home != '\0' ? std::filesystem::path(home) : std::filesystem::path("/");
}

}  // namespace

DriveMap desktopDriveMap() {
    return [](char16_t letter) {
        if (letter == u'c') return homeDirectory();
        return std::filesystem::path("/mnt") / std::string(1, static_cast<char>(letter));
    };
}

}  // namespace qadrill
