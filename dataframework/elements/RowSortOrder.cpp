#include "dataframework/elements/RowSortOrder.h"

#include <algorithm>

#include "dataframework/elements/AbstractRow.h"
#include "dataframework/elements/DataTable.h"
#include "platform/Assert.h"
#include "platform/Random.h"
#include "platform/StringList.h"

namespace dataframework {

TRowSortOrderRule::TRowSortOrderRule(TRowSortOrder& Order, TDataField* Field, TSortOrder Direction)
    : FOrder(Order), FField(Field), FDirection(Direction) {}

void TRowSortOrderRule::Bind(TDataTable* Table) {
  FFieldIndex = Table != nullptr && FField != nullptr ? Table->IndexOfField(FField) : -1;
}

void TRowSortOrderRule::GetValue(const TAbstractRow& Row, TValue& Value) const {
  if (FFieldIndex != -1 && FOrder.Table() == Row.Table()) {
    Row.GetIndexValue(FFieldIndex, Value);
  } else {
    Row.GetFieldValue(FField, Value);
  }
}

TRowSortOrder::TRowSortOrder() = default;
TRowSortOrder::~TRowSortOrder() = default;

std::unique_ptr<TRowSortOrder> TRowSortOrder::CreateCopy(const TRowSortOrder& Order) {
  auto copy = std::make_unique<TRowSortOrder>();
  for (const auto& rule : Order.FRules) copy->Add(rule->Field(), rule->Direction());
  return copy;
}

void TRowSortOrder::Add(TDataField* Field, TSortOrder Direction) {
  FRules.push_back(std::make_unique<TRowSortOrderRule>(*this, Field, Direction));
  // A rule added to a bound order is bound as well, so all rules read alike.
  FRules.back()->Bind(FTable);
}

TRowSortOrderRule& TRowSortOrder::Rule(int Index) const {
  platform::Assert(Index >= 0 && Index < Count(),
                   "TRowSortOrder.Rule: (idx >= 0) and (idx < FRules.Count), idx: ", Index);
  return *FRules[static_cast<size_t>(Index)];
}

void TRowSortOrder::SetTable(TDataTable* Table) {
  if (Table == FTable) return;
  FTable = Table;
  for (const auto& rule : FRules) rule->Bind(Table);
}

namespace {

// The randomised three-way quicksort over the row objects of a list.
class TRowQuickSort {
 public:
  TRowQuickSort(platform::TStrings& List, TRowSortOrder& Order) : FList(List), FOrder(Order) {}

  void Sort(int L, int H) {
    // Recurse into the smaller part and loop over the larger one, so the
    // stack stays logarithmic whatever the draws.
    while (H > L) {
      if (H - L == 1) {
        if (Compare(L, Row(H)) > 0) FList.Exchange(L, H);
        return;
      }
      // r in 0 ... H - L - 1: the last position itself is never drawn.
      int pivotPos = L + platform::Random(H - L);
      if (pivotPos != H) FList.Exchange(pivotPos, H);
      const TAbstractRow* pivot = Row(H);
      int less = L;   // [L, less) sort before the pivot
      int equal = H;  // [equal, H] equal to it (the pivot at H)
      int i = L;
      while (i < equal) {
        int c = Compare(i, pivot);
        if (c < 0) {
          if (i != less) FList.Exchange(i, less);
          ++less;
          ++i;
        } else if (c == 0) {
          --equal;
          if (i != equal) FList.Exchange(i, equal);
        } else {
          ++i;
        }
      }
      // Move the equal block from the end into the middle.
      int equalCount = H - equal + 1;
      int greaterCount = equal - less;
      int moves = std::min(equalCount, greaterCount);
      for (int j = 0; j < moves; ++j) FList.Exchange(less + j, H - j);
      int lowEnd = less - 1;
      int highStart = less + equalCount;
      if (lowEnd - L < H - highStart) {
        Sort(L, lowEnd);
        L = highStart;
      } else {
        Sort(highStart, H);
        H = lowEnd;
      }
    }
  }

 private:
  const TAbstractRow* Row(int Index) const {
    return static_cast<const TAbstractRow*>(FList.GetObject(Index));
  }
  int Compare(int Index, const TAbstractRow* Other) const {
    return Row(Index)->Compare(Other, &FOrder);
  }

  platform::TStrings& FList;
  TRowSortOrder& FOrder;
};

}  // namespace

void TRowSortOrder::Sort(TDataTable* Table, platform::TStrings& List) {
  SetTable(Table);
  TRowQuickSort(List, *this).Sort(0, List.Count() - 1);
}

}  // namespace dataframework
