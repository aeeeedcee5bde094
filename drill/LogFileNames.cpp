#include "drill/LogFileNames.h"

#include <array>

#include "logbook/Text.h"
#include "platform/unicode/Utf16.h"

namespace qadrill {

namespace {

// The longest fixed part around the name: "masterFile_" + name + ".txt".
constexpr std::size_t longestFixedPart = 11 + 4;

bool isUnsafe(char16_t c) {
    constexpr std::u16string_view unsafe = u" /\\:*?\"<>|";
    return c < 0x20 || c == 0x7F || unsafe.find(c) != std::u16string_view::npos;
}

// Replaces unsafe characters and lone surrogates, keeping surrogate pairs whole.
std::u16string replaceUnsafe(std::u16string_view name) {
    std::u16string out;
    out.reserve(name.size());
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char16_t c = name[i];
        if (isPairAt(name, i)) {
            out += c;
            out += name[++i];
        } else if (isUnsafe(c) || isSurrogate(c)) {
            out += u'_';
        } else {
            out += c;
        }
    }
    return out;
}

std::size_t utf8Bytes(char16_t c) { return c < 0x80 ? 1 : c < 0x800 ? 2 : 3; }

// The longest run of whole characters from the start whose UTF-8 form fits
// the budget; the name holds no lone surrogates any more.
std::u16string cutToBytes(std::u16string name, std::size_t budget) {
    std::size_t bytes = 0;
    std::size_t kept = 0;
    while (kept < name.size()) {
        const bool pair = isPairAt(name, kept);
        const std::size_t next = pair ? 4 : utf8Bytes(name[kept]);
        if (bytes + next > budget) break;
        bytes += next;
        kept += pair ? 2 : 1;
    }
    name.resize(kept);
    return name;
}

bool isDeviceName(std::u16string_view name) {
    const auto upper = [&] {
        std::u16string out(name);
        for (auto& c : out)
            if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
        return out;
    }();
    constexpr std::array<std::u16string_view, 4> plain{u"CON", u"PRN", u"AUX", u"NUL"};
    for (auto device : plain)
        if (upper == device) return true;
    return upper.size() == 4 && (startsWith(upper, u"COM") || startsWith(upper, u"LPT")) && upper[3] >= u'1' &&
           upper[3] <= u'9';
}

}  // namespace

std::u16string fileNamePart(std::u16string_view studentName, const FileNameRules& rules) {
    const std::size_t budget = rules.maxNameBytes > longestFixedPart ? rules.maxNameBytes - longestFixedPart : 0;
    auto part = cutToBytes(replaceUnsafe(studentName), budget);
    if (rules.windowsDeviceNames && isDeviceName(part)) part += u'_';
    return part;
}

LogPaths logPaths(std::u16string_view dataDir, std::u16string_view studentName, std::u16string_view month,
                  std::u16string_view day, const FileNameRules& rules) {
    const auto name = fileNamePart(studentName, rules);
    const std::u16string dir(dataDir);
    return LogPaths{
        dir + u"\\masterFile_" + name + u".txt",
        dir + u"\\send_" + std::u16string(month) + std::u16string(day) + name + u".txt",
        dir + u"\\notes_" + name + u".txt",
    };
}

}  // namespace qadrill
