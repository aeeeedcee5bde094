#pragma once
// The platform of the system this is built for: the one seam between the
// POSIX and the Windows part.  platform/CMakeLists.txt compiles only the
// chosen part's sources; code above the platform names HostPlatform.

#if defined(_WIN32)
#include "platform/win32/Win32Platform.h"
namespace qadrill {
using HostPlatform = Win32Platform;
}  // namespace qadrill
#else
#include "platform/posix/PosixPlatform.h"
namespace qadrill {
using HostPlatform = PosixPlatform;
}  // namespace qadrill
#endif
