// The local time on POSIX.
#include <time.h>

#include "platform/system/LocalClock.h"

namespace qadrill {

LocalMoment localNow() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    LocalMoment moment;
    localtime_r(&now.tv_sec, &moment.fields);
    moment.nanoseconds = now.tv_nsec;
    return moment;
}

}  // namespace qadrill
