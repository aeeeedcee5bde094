#include "platform/system/DrivePath.h"

namespace qadrill {

// "c:\" for c: the rest of a drill path follows below it as it stands.
DriveMap desktopDriveMap() {
    return [](char16_t letter) { return std::filesystem::path(std::u16string{letter, u':', u'\\'}); };
}

}  // namespace qadrill
