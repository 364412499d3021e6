// The process-wide pseudo-random generator.
//
// A linear congruential generator over a 32-bit seed: the same seed gives
// the same sequence on every machine, so tests set RandSeed to replay a run.
// The seed is 0 at start; Randomize() seeds from the clock.
// Single-threaded like the rest of the system.
#pragma once

#include <cstdint>

namespace platform {

std::uint32_t RandSeed();
void SetRandSeed(std::uint32_t Seed);
void Randomize();

// Uniform in 0 … Range - 1; 0 when Range <= 0 (the seed still advances only
// for a positive Range).
std::int32_t Random(std::int32_t Range);
// Uniform in [0, 1).
double RandomFloat();

}  // namespace platform
