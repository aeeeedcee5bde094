#pragma once
// The local wall clock in the drill's forms.  Formatting takes a broken-down
// time so it can be checked without waiting for a particular moment.

#include <ctime>
#include <string>

namespace qadrill {

struct LocalMoment {
    std::tm fields{};
    long nanoseconds = 0;
};

[[nodiscard]] LocalMoment localNow();
[[nodiscard]] double secondsSinceMidnight(const LocalMoment& moment);
[[nodiscard]] std::u16string dateTextOf(const std::tm& fields);  // mm-dd-yyyy
[[nodiscard]] std::u16string timeTextOf(const std::tm& fields);  // hh:mm:ss

}  // namespace qadrill
