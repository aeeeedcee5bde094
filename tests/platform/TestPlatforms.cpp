#include "tests/platform/TestPlatforms.h"

#include <cstdio>

namespace qadrill::testing {

void BarePlatform::closeAll() {
    if (announceCloseAll) std::fputs("closeAll\n", stderr);
    HeadlessPlatform::closeAll();
}

}  // namespace qadrill::testing
