// The one binary search of the sorted lists (texts, values, criteria items,
// subtotal children).
#pragma once

namespace platform {

// Searches items 0 .. Count - 1, sorted by CompareAt(i) (negative when item i
// sorts before the wanted one, zero when equal, positive after). Index := the
// position of the first item that is not before the wanted one (where it
// would be inserted); true when an item there compares equal. A list that
// holds no duplicates passes StopAtMatch to end at the first equal item met.
template <class TCompareAt>
bool SortedFind(int Count, bool StopAtMatch, TCompareAt CompareAt, int& Index) {
  bool found = false;
  int low = 0;
  int high = Count - 1;
  while (low <= high) {
    const int mid = low + (high - low) / 2;
    const int c = CompareAt(mid);
    if (c < 0) {
      low = mid + 1;
    } else {
      high = mid - 1;
      if (c == 0) {
        found = true;
        if (StopAtMatch) low = mid;
      }
    }
  }
  Index = low;
  return found;
}

}  // namespace platform
