#pragma once
// The faulty platform of the system this is built for: tests/support's one
// seam, beside platform/HostPlatform.h.

#if defined(_WIN32)
#include "tests/support/FaultyWin32.h"
#else
#include "tests/support/FaultyPosix.h"
#endif
