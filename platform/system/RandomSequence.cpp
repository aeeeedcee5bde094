#include "platform/system/RandomSequence.h"

#include <bit>

namespace qadrill {

void RandomSequence::seed(float seed) { generator_.seed(std::bit_cast<std::uint32_t>(seed)); }

float RandomSequence::next() {
    // mt19937 yields 32 bits, in a type that may be wider (the mask says so
    // without a cast); its top bits are as good as any.
    const std::uint32_t draw = generator_() & 0xFFFFFFFFU;
    return unitFromBits(draw >> (32 - bitsPerDraw));
}

float RandomSequence::unitFromBits(std::uint32_t bits) {
    constexpr std::uint32_t mask = (1U << bitsPerDraw) - 1U;
    constexpr float scale = 1.0F / static_cast<float>(1U << bitsPerDraw);
    return static_cast<float>(bits & mask) * scale;
}

}  // namespace qadrill
