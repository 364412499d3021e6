#include "dataframework/conditions/QuiltValueList.h"

#include "dataframework/elements/DataField.h"
#include "platform/Assert.h"
#include "platform/DataError.h"
#include "platform/Errors.h"

namespace dataframework {

namespace {

// The texts of the list index checks.
constexpr const char* kIndexError = "SListIndexError";

}  // namespace

TQuiltValueList::TQuiltValueList(TDataField* Field) : FField(Field), FDataType(nullptr) {
  platform::Assert(Field != nullptr, "TQuiltValueList.Create: DataField should not be nil!");
  FDataType = Field->DataType();
  platform::Assert(FDataType != nullptr, "TQuiltValueList.Create: DataField has no data type!");
}

TQuiltValueList::~TQuiltValueList() = default;

const TQuiltValueItem& TQuiltValueList::Item(int Index) const {
  if (Index < 0 || Index >= Count()) throw platform::EListError(kIndexError);
  return FItems[static_cast<size_t>(Index)];
}

void TQuiltValueList::Signal() const {
  if (FOnChange) FOnChange();
}

bool TQuiltValueList::FindPoint(const TQuiltPoint& Point, int& Index) const {
  int lo = 0;
  int hi = Count() - 1;
  bool found = false;
  while (lo <= hi) {
    int mid = (lo + hi) / 2;
    int c = ComparePointValues(*FDataType, FItems[static_cast<size_t>(mid)].StartPoint, Point);
    if (c < 0) {
      lo = mid + 1;
    } else {
      hi = mid - 1;
      if (c == 0) {
        found = true;
        lo = mid;
      }
    }
  }
  Index = lo;
  return found;
}

int TQuiltValueList::AddStartPoint(const TQuiltPoint& Point) {
  int i = 0;
  FindPoint(Point, i);
  // Starts of equal value: a closed one sorts before an open one.
  while (i < Count() &&
         ComparePointValues(*FDataType, FItems[static_cast<size_t>(i)].StartPoint, Point) == 0) {
    const TQuiltPoint& existing = FItems[static_cast<size_t>(i)].StartPoint;
    if (existing.Closed == Point.Closed)
      throw platform::Exception(ClassName() + ".AddStartPoint: Start point already exists!");
    if (existing.Closed && !Point.Closed) {
      ++i;
    } else {
      break;
    }
  }
  FRestricted = true;
  FItems.insert(FItems.begin() + i, TQuiltValueItem{Point, Point});
  return i;
}

TQuiltPoint TQuiltValueList::ConvertPoint(const TQuiltPoint& P) const {
  if (P.Infinite || P.Value.DataType == FDataType) return P;
  TQuiltPoint Result = P;
  Result.Value = ConvertToType(FDataType, P.Value);
  return Result;
}

void TQuiltValueList::ValidateInterval(const TQuiltPoint& Start, const TQuiltPoint& End) const {
  if (Start.Infinite && End.Infinite) {
    // Only (MinusInfinity, PlusInfinity) means something; the same sign on
    // both ends would otherwise read as the universe.
    if (Start.Closed == End.Closed)
      platform::DataError(
          platform::esFatal, "Intervals",
          "Interval can not have both end points in positive or negative infinity!");
    if (Start.Closed) return;
  } else if (CompareStartToEnd(*FDataType, Start, End) <= 0) {
    return;
  }
  platform::DataError(platform::esFatal, "Intervals",
                      "Illegal interval from '" + ValueAsString(Start.Value) + "' to '" +
                          ValueAsString(End.Value) + "'!");
}

int TQuiltValueList::AddInterval(const TQuiltPoint& Start, const TQuiltPoint& End) {
  TQuiltPoint S = ConvertPoint(Start);
  TQuiltPoint E = ConvertPoint(End);
  ValidateInterval(S, E);
  if (FItems.empty()) return AddIntervalRaw(S, E);
  int i = 0;
  bool found = FindPoint(S, i);
  if (i > 0 && StartVsPrevEnd(*FDataType, S, FItems[static_cast<size_t>(i - 1)].EndPoint) < 2) {
    --i;
    found = true;
  }
  if (found) {
    TQuiltValueItem& item = FItems[static_cast<size_t>(i)];
    if (CompareStartPoints(*FDataType, S, item.StartPoint) < 0) item.StartPoint = S;
    if (CompareEndPoints(*FDataType, E, item.EndPoint) > 0) item.EndPoint = E;
  } else {
    i = AddStartPoint(S);
    FItems[static_cast<size_t>(i)].EndPoint = E;
  }
  FRestricted = true;
  MergeFollowing(i);
  Signal();
  return i;
}

int TQuiltValueList::AddIntervalRaw(const TQuiltPoint& Start, const TQuiltPoint& End) {
  int i = AddStartPoint(Start);
  FItems[static_cast<size_t>(i)].EndPoint = End;
  Signal();
  return i;
}

void TQuiltValueList::MergeFollowing(int Index) {
  size_t i = static_cast<size_t>(Index);
  TQuiltPoint e = FItems[i].EndPoint;
  size_t j = i + 1;
  while (j < FItems.size()) {
    if (StartVsPrevEnd(*FDataType, FItems[j].StartPoint, e) == 2) break;
    if (CompareEndPoints(*FDataType, FItems[j].EndPoint, e) >= 0) {
      e = FItems[j].EndPoint;
      ++j;
      break;
    }
    ++j;
  }
  if (j > i + 1) {
    FItems.erase(FItems.begin() + static_cast<std::ptrdiff_t>(i + 1),
                 FItems.begin() + static_cast<std::ptrdiff_t>(j));
    FItems[i].EndPoint = e;
  }
}

bool TQuiltValueList::ContainsValue(const TValue& Value) const {
  if (!FRestricted) return true;
  TQuiltPoint P;
  P.Closed = true;
  P.Value = Value.DataType == FDataType ? Value : ConvertToType(FDataType, Value);
  int i = 0;
  if (FindPoint(P, i)) return FItems[static_cast<size_t>(i)].StartPoint.Closed;
  if (i == 0) return false;
  const TQuiltValueItem& item = FItems[static_cast<size_t>(i - 1)];
  return CompareStartPoints(*FDataType, item.StartPoint, P) <= 0 &&
         CompareEndPoints(*FDataType, item.EndPoint, P) >= 0;
}

const TQuiltPoint& TQuiltValueList::Get(int Index) const {
  return Item(Index).StartPoint;
}

const TQuiltPoint& TQuiltValueList::Get2(int Index) const {
  platform::Assert(Index >= 0 && Index < Count(),
                   "TQuiltValueList.Get2: (Index >= 0) and (Index < FCount), Index: ", Index);
  return FItems[static_cast<size_t>(Index)].EndPoint;
}

void TQuiltValueList::PutStart(int Index, const TQuiltPoint& Point) {
  if (Index < 0 || Index >= Count()) throw platform::EListError(kIndexError);
  FItems[static_cast<size_t>(Index)].StartPoint = Point;
  Signal();
}

void TQuiltValueList::PutEnd(int Index, const TQuiltPoint& Point) {
  if (Index < 0 || Index >= Count()) throw platform::EListError(kIndexError);
  FItems[static_cast<size_t>(Index)].EndPoint = Point;
  Signal();
}

void TQuiltValueList::Delete(int Index) {
  platform::Assert(Index >= 0 && Index < Count(),
                   "TQuiltValueList.Delete: (Index >= 0) and (Index < FCount), Index: ", Index);
  FItems.erase(FItems.begin() + Index);
  Signal();
}

void TQuiltValueList::Unrestrict() {
  if (!FRestricted) return;
  FItems.clear();
  FRestricted = false;
  Signal();
}

void TQuiltValueList::ClearItems() {
  FItems.clear();
}

void TQuiltValueList::SetNone() {
  FItems.clear();
  FRestricted = true;
  Signal();
}

void TQuiltValueList::SwapContents(TQuiltValueList& Other) noexcept {
  FItems.swap(Other.FItems);
  std::swap(FRestricted, Other.FRestricted);
}

void TQuiltValueList::AppendUnchecked(const TQuiltPoint& Start, const TQuiltPoint& End) {
  FRestricted = true;
  FItems.push_back(TQuiltValueItem{Start, End});
}

}  // namespace dataframework
