#pragma once
// The drill's random sequence: seeded from a single-precision number, drawing
// single-precision values in [0, 1).

#include <cstdint>
#include <random>

namespace qadrill {

class RandomSequence final {
public:
    static constexpr int bitsPerDraw = 24;  // a float's mantissa holds them exactly

    void seed(float seed);
    [[nodiscard]] float next();

    // bits / 2^24 for the low 24 bits: the largest is 1 - 2^-24, never 1.
    [[nodiscard]] static float unitFromBits(std::uint32_t bits);

private:
    std::mt19937 generator_;
};

}  // namespace qadrill
