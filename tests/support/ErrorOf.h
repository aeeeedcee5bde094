#pragma once
// The run-time error number an action raises, or 0 when it raises none.

#include <functional>

#include "platform/RuntimeError.h"

namespace qadrill::testing {

inline int errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const RuntimeError& error) {
        return error.number();
    }
    return 0;
}

}  // namespace qadrill::testing
