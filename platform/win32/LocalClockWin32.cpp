// The local time on Windows.
#include <windows.h>

#include "platform/system/LocalClock.h"

namespace qadrill {

LocalMoment localNow() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    LocalMoment moment;
    moment.fields.tm_year = now.wYear - 1900;
    moment.fields.tm_mon = now.wMonth - 1;
    moment.fields.tm_mday = now.wDay;
    moment.fields.tm_wday = now.wDayOfWeek;
    moment.fields.tm_hour = now.wHour;
    moment.fields.tm_min = now.wMinute;
    moment.fields.tm_sec = now.wSecond;
    moment.fields.tm_isdst = -1;
    moment.nanoseconds = static_cast<long>(now.wMilliseconds) * 1'000'000L;
    return moment;
}

}  // namespace qadrill
