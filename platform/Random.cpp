#include "platform/Random.h"

#include <chrono>

namespace platform {

namespace {
std::uint32_t Seed = 0;

std::uint32_t Next() {
  Seed = Seed * 134775813u + 1u;
  return Seed;
}
}  // namespace

std::uint32_t RandSeed() {
  return Seed;
}
void SetRandSeed(std::uint32_t Value) {
  Seed = Value;
}

void Randomize() {
  const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
  Seed = static_cast<std::uint32_t>(ticks) ^ static_cast<std::uint32_t>(ticks >> 32);
}

std::int32_t Random(std::int32_t Range) {
  if (Range <= 0) return 0;
  // The high bits of the product scale the 32-bit state to the range, so
  // every value is equally likely to within one part in 2^32.
  const std::uint64_t product =
      static_cast<std::uint64_t>(Next()) * static_cast<std::uint32_t>(Range);
  return static_cast<std::int32_t>(product >> 32);
}

double RandomFloat() {
  return static_cast<double>(Next()) / 4294967296.0;
}

}  // namespace platform
