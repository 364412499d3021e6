// A latency histogram in fixed memory, in the manner of HdrHistogram: the
// values (nanoseconds, or any unsigned 64-bit quantity) fall into log-linear
// buckets. Values below 2^kSubBits have a bucket each; above, every power of
// two [2^e, 2^(e+1)) is split into 2^kSubBits equal buckets. A quantile is
// answered as the middle of its bucket, so it lies within 2^-(kSubBits+1)
// (0.2 %) of the exact sample quantile, and exactly below 2^kSubBits.
//
// Memory is one array of counters (about 58 KiB) whatever the number of
// values recorded: no sample is kept. Not thread-safe; a value type (copy it,
// Add one into another).
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>

namespace app::cli {

class TLatencyHistogram {
 public:
  static constexpr int kSubBits = 7;
  static constexpr uint64_t kSubCount = uint64_t{1} << kSubBits;
  static constexpr std::size_t kBucketCount = (64 - kSubBits + 1) * kSubCount;

  void Record(uint64_t Value) {
    ++FCounts[BucketOf(Value)];
    ++FCount;
    FMin = std::min(FMin, Value);
    FMax = std::max(FMax, Value);
  }

  // Adds every value Other recorded.
  void Add(const TLatencyHistogram& Other) {
    for (std::size_t i = 0; i < kBucketCount; ++i) FCounts[i] += Other.FCounts[i];
    FCount += Other.FCount;
    FMin = std::min(FMin, Other.FMin);
    FMax = std::max(FMax, Other.FMax);
  }

  void Reset() { *this = TLatencyHistogram(); }

  uint64_t Count() const { return FCount; }
  // Exact; 0 when nothing was recorded.
  uint64_t Min() const { return FCount ? FMin : 0; }
  uint64_t Max() const { return FMax; }

  // The value of rank ceil(Quantile * Count()) (at least 1) among the values
  // recorded in ascending order: the smallest value that Quantile of all are
  // not above. Quantile 1 gives Max(). 0 when nothing was recorded.
  // REQUIRES: 0 <= Quantile <= 1.
  uint64_t ValueAtQuantile(double Quantile) const {
    if (FCount == 0) return 0;
    if (Quantile >= 1.0) return FMax;
    const uint64_t rank = RankOf(Quantile, FCount);
    uint64_t seen = 0;
    for (std::size_t i = 0; i < kBucketCount; ++i) {
      seen += FCounts[i];
      if (seen >= rank) {
        const uint64_t middle = LowestOf(i) + (HighestOf(i) - LowestOf(i) + 1) / 2;
        return std::clamp(middle, FMin, FMax);
      }
    }
    return FMax;
  }

  // The rank (from 1) ValueAtQuantile looks for among Count values. The
  // small allowance keeps 0.999 * 1000 at rank 999 despite binary fractions.
  static uint64_t RankOf(double Quantile, uint64_t Count) {
    const double exact = std::ceil(Quantile * static_cast<double>(Count) - 1e-9);
    return std::clamp<uint64_t>(exact < 1 ? 1 : static_cast<uint64_t>(exact), 1, Count);
  }

  static std::size_t BucketOf(uint64_t Value) {
    if (Value < kSubCount) return static_cast<std::size_t>(Value);
    const int shift = (63 - std::countl_zero(Value)) - kSubBits;
    const uint64_t sub = (Value >> shift) - kSubCount;
    return static_cast<std::size_t>((shift + 1) * kSubCount + sub);
  }
  static uint64_t LowestOf(std::size_t Bucket) {
    if (Bucket < kSubCount) return Bucket;
    const int shift = static_cast<int>(Bucket / kSubCount) - 1;
    return (kSubCount + Bucket % kSubCount) << shift;
  }
  static uint64_t HighestOf(std::size_t Bucket) {
    if (Bucket < kSubCount) return Bucket;
    const int shift = static_cast<int>(Bucket / kSubCount) - 1;
    return LowestOf(Bucket) + ((uint64_t{1} << shift) - 1);
  }

 private:
  std::array<uint64_t, kBucketCount> FCounts{};
  uint64_t FCount = 0;
  uint64_t FMin = std::numeric_limits<uint64_t>::max();
  uint64_t FMax = 0;
};

}  // namespace app::cli
