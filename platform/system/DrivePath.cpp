#include "platform/system/DrivePath.h"

#include "platform/unicode/Utf8.h"

namespace qadrill {

namespace {

std::optional<char16_t> driveLetter(const std::u16string& path) {
    if (path.size() < 2 || path[1] != u':') return std::nullopt;
    const char16_t letter = path[0];
    if (letter >= u'a' && letter <= u'z') return letter;
    if (letter >= u'A' && letter <= u'Z') return static_cast<char16_t>(letter - u'A' + u'a');
    return std::nullopt;
}

std::filesystem::path utf8Path(const std::string& utf8) { return std::u8string(utf8.begin(), utf8.end()); }

}  // namespace

DriveMap driveMapUnder(const std::filesystem::path& root) {
    return [root](char16_t letter) { return root / std::string(1, static_cast<char>(letter)); };
}

std::optional<std::filesystem::path> nativePath(const std::u16string& drillPath, const DriveMap& map) {
    const auto letter = driveLetter(drillPath);
    if (!letter) return std::nullopt;
    std::filesystem::path result = map(*letter);
    std::u16string part;
    // Both slashes separate: a forward slash cannot be part of a native name.
    for (std::size_t i = 2; i <= drillPath.size(); ++i) {
        if (i == drillPath.size() || drillPath[i] == u'\\' || drillPath[i] == u'/') {
            // Through UTF-8 so a lone surrogate becomes U+FFFD on every system.
            if (!part.empty()) result /= utf8Path(toUtf8(part));
            part.clear();
        } else {
            part += drillPath[i];
        }
    }
    return result;
}

}  // namespace qadrill
