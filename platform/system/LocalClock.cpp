#include "platform/system/LocalClock.h"

#include <array>
#include <cstdio>

namespace qadrill {

namespace {

std::u16string widen(const char* ascii) { return {ascii, ascii + std::char_traits<char>::length(ascii)}; }

}  // namespace

double secondsSinceMidnight(const LocalMoment& moment) {
    const std::tm& t = moment.fields;
    // A leap second (tm_sec 60) is folded into the last second of its minute.
    const int second = t.tm_sec > 59 ? 59 : t.tm_sec;
    return t.tm_hour * 3600.0 + t.tm_min * 60.0 + second + static_cast<double>(moment.nanoseconds) / 1e9;
}

std::u16string dateTextOf(const std::tm& fields) {
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%02d-%02d-%04d", fields.tm_mon + 1, fields.tm_mday, fields.tm_year + 1900);
    return widen(text.data());
}

std::u16string timeTextOf(const std::tm& fields) {
    std::array<char, 32> text{};
    const int second = fields.tm_sec > 59 ? 59 : fields.tm_sec;
    std::snprintf(text.data(), text.size(), "%02d:%02d:%02d", fields.tm_hour, fields.tm_min, second);
    return widen(text.data());
}

}  // namespace qadrill
