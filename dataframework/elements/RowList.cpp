#include "dataframework/elements/RowList.h"

#include <locale.h>
#include <string.h>

#include <unordered_set>
#include <utility>
#include <vector>

#include "dataframework/conditions/Condition.h"
#include "dataframework/conditions/Criteria.h"
#include "dataframework/elements/AbstractRow.h"
#include "dataframework/elements/AbstractRowStorage.h"
#include "dataframework/elements/DataRow.h"
#include "dataframework/elements/SubTotalRow.h"
#include "platform/Assert.h"
#include "platform/SortedSearch.h"

namespace dataframework {

namespace {

// The environment's collation and character classes, read once; the "C"
// rules where the environment names no usable locale.
class TCollation {
 public:
  TCollation() {
    const int mask = LC_COLLATE_MASK | LC_CTYPE_MASK;
    FLocale = newlocale(mask, "", locale_t(0));
    if (FLocale == locale_t(0)) FLocale = newlocale(mask, "C", locale_t(0));
  }
  ~TCollation() {
    if (FLocale != locale_t(0)) freelocale(FLocale);
  }
  TCollation(const TCollation&) = delete;
  TCollation& operator=(const TCollation&) = delete;

  std::string Fold(const std::string& S) const {
    std::string folded(S);
    for (char& c : folded) c = static_cast<char>(toupper_l(static_cast<unsigned char>(c), FLocale));
    return folded;
  }
  int Compare(const std::string& A, const std::string& B) const {
    const std::string a = Fold(A);
    const std::string b = Fold(B);
    const int c = strcoll_l(a.c_str(), b.c_str(), FLocale);
    if (c != 0) return c;
    // Texts the collation ties (or that differ after a NUL) still need one
    // fixed order for the binary search.
    return a.compare(b);
  }

 private:
  locale_t FLocale;
};

const TCollation& Collation() {
  static const TCollation collation;
  return collation;
}

}  // namespace

const platform::TClass& TDataRowList::StaticClass() {
  static const platform::TClass Class("TDataRowList", &platform::TStrings::StaticClass(),
                                      "RowList");
  return Class;
}

TDataRowList::TDataRowList() = default;

TDataRowList::~TDataRowList() = default;

int TDataRowList::CompareTexts(const std::string& S1, const std::string& S2) {
  return Collation().Compare(S1, S2);
}

int TDataRowList::CompareStrings(const std::string& S1, const std::string& S2) const {
  return CompareTexts(S1, S2);
}

// ---- Storage.

void TDataRowList::CheckIndex(int Index) const {
  if (Index < 0 || Index >= FItems.Count()) Error(platform::SListIndexError, Index);
}

std::string TDataRowList::Get(int Index) const {
  CheckIndex(Index);
  return FItems[Index].FString;
}

void TDataRowList::Put(int Index, const std::string& S) {
  if (FSorted) Error(platform::SSortedListError);
  CheckIndex(Index);
  Changing();
  FItems[Index].FString = S;
  Changed();
}

platform::TObject* TDataRowList::GetObject(int Index) const {
  CheckIndex(Index);
  return FItems[Index].FObject;
}

void TDataRowList::PutObject(int Index, platform::TObject* AObject) {
  CheckIndex(Index);
  Changing();
  FItems[Index].FObject = AObject;
  Changed();
}

int TDataRowList::Add(const std::string& S) {
  return AddObject(S, nullptr);
}

int TDataRowList::AddObject(const std::string& S, platform::TObject* AObject) {
  int index = FItems.Count();
  if (FSorted && Find(S, index)) {
    if (FDuplicates == platform::dupIgnore) return index;
    if (FDuplicates == platform::dupError) Error(platform::SDuplicateString);
  }
  InsertItem(index, S, AObject);
  return index;
}

void TDataRowList::Insert(int Index, const std::string& S) {
  if (FSorted) Error(platform::SSortedListError);
  if (Index < 0 || Index > FItems.Count()) Error(platform::SListIndexError, Index);
  InsertItem(Index, S, nullptr);
}

void TDataRowList::Grow() {
  SetCapacity(FCapacity <= 15 ? 16 : FCapacity * 2);
}

void TDataRowList::InsertItem(int Index, const std::string& S, platform::TObject* AObject) {
  Changing();
  if (FItems.Count() == FCapacity) Grow();
  FItems.Insert(Index, S, AObject);
  Changed();
}

void TDataRowList::Delete(int Index) {
  CheckIndex(Index);
  Changing();
  FItems.Delete(Index);
  Changed();
}

void TDataRowList::ExchangeItems(int Index1, int Index2) {
  FItems.Exchange(Index1, Index2);
}

void TDataRowList::Exchange(int Index1, int Index2) {
  CheckIndex(Index1);
  CheckIndex(Index2);
  Changing();
  ExchangeItems(Index1, Index2);
  Changed();
}

void TDataRowList::Clear() {
  if (FItems.Count() == 0) return;
  Changing();
  FItems.Release();
  FCapacity = 0;
  Changed();
}

void TDataRowList::SetCapacity(int NewCapacity) {
  if (NewCapacity < FItems.Count()) Error(platform::SListCapacityError, NewCapacity);
  if (NewCapacity == FCapacity) return;
  FItems.SetExactCapacity(NewCapacity);
  FCapacity = NewCapacity;
}

int TDataRowList::IndexOf(const std::string& S) const {
  if (!FSorted) return TStrings::IndexOf(S);
  int index = 0;
  return Find(S, index) ? index : -1;
}

// ---- Change events.

void TDataRowList::SetUpdateState(bool Updating) {
  // The bracket opens with OnChanging and closes with OnChange, as the
  // platform's string list does.
  if (Updating) {
    Changing();
    FUpdating = true;
  } else {
    FUpdating = false;
    Changed();
  }
}

void TDataRowList::Changed() {
  if (!FUpdating && OnChange) OnChange();
}

void TDataRowList::Changing() {
  if (!FUpdating && OnChanging) OnChanging();
}

// ---- Searching and sorting.

bool TDataRowList::Find(const std::string& S, int& Index) const {
  return platform::SortedFind(
      FItems.Count(), FDuplicates != platform::dupAccept,
      [&](int I) { return CompareTexts(FItems[I].FString, S); }, Index);
}

void TDataRowList::Sort() {
  CustomSort([](TDataRowList& List, int Index1, int Index2) {
    return CompareTexts(List.FItems[Index1].FString, List.FItems[Index2].FString);
  });
}

void TDataRowList::CustomSort(const TCompare& Compare) {
  if (FSorted || FItems.Count() < 2) return;
  Changing();
  QuickSort(0, FItems.Count() - 1, Compare);
  Changed();
}

void TDataRowList::QuickSort(int L, int R, const TCompare& Compare) {
  while (L < R) {
    int i = L;
    int j = R;
    int pivot = L + (R - L) / 2;
    do {
      // The bounds keep a comparison that is not a strict order inside the range.
      while (i < R && Compare(*this, i, pivot) < 0) ++i;
      while (j > L && Compare(*this, j, pivot) > 0) --j;
      if (i <= j) {
        if (i != j) ExchangeItems(i, j);
        if (pivot == i) {
          pivot = j;
        } else if (pivot == j) {
          pivot = i;
        }
        ++i;
        --j;
      }
    } while (i <= j);
    // The smaller part first and the larger one in this loop keep the
    // recursion shallow whatever the input.
    if (j - L < R - i) {
      if (L < j) QuickSort(L, j, Compare);
      L = i;
    } else {
      if (i < R) QuickSort(i, R, Compare);
      R = j;
    }
  }
}

void TDataRowList::SetSorted(bool Value) {
  if (FSorted == Value) return;
  if (Value) Sort();
  FSorted = Value;
}

// ---- Rows.

TAbstractRow* TDataRowList::GetDataRow(int Index) const {
  platform::Assert(Index >= 0 && Index < FItems.Count(),
                   "TDataRowList.GetDataRow: (idx >= 0) and (idx < Count), idx: ", Index);
  return dynamic_cast<TAbstractRow*>(FItems[Index].FObject);
}

void TDataRowList::SetDisplayTexts(TDataField* KeyField, TDisplayValues DisplayValues) {
  std::string text;
  for (int i = 0; i < FItems.Count(); ++i) {
    const TAbstractRow* row = GetDataRow(i);
    if (row == nullptr) continue;
    row->GetDisplayText(KeyField, DisplayValues, text);
    Put(i, text);
  }
}

void TDataRowList::GetRows(platform::TStrings* Results, const TCondition* Criteria,
                           TGetRowsMode Mode) {
  if (Mode != gmDelete)
    platform::Assert(Results != nullptr, "TDataRowList.GetRows: Results <> nil");
  std::unique_ptr<TCriteria> all;
  if (Criteria == nullptr) {
    all = std::make_unique<TCriteria>();
    Criteria = all.get();
  }
  // A row listed twice is deleted at the first of its entries the walk
  // meets; the others must not reach the freed row, not even to ask for
  // its class.
  std::unordered_set<const platform::TObject*> deleted;
  // Deleting a data row may free its emptied subtotal rows; which entries
  // hold data rows is settled before the first delete, and the others are
  // not touched again.
  const bool deleting = Mode == gmMoveOut || Mode == gmDelete;
  std::vector<TDataRow*> dataRows;
  std::unordered_set<const platform::TObject*> subTotals;
  std::unordered_set<TAbstractRowStorage*> subTotalStorages;
  if (deleting) {
    dataRows.resize(static_cast<size_t>(FItems.Count()));
    for (int i = 0; i < FItems.Count(); ++i) {
      auto* row = dynamic_cast<TAbstractRow*>(FItems[i].FObject);
      if (row == nullptr) continue;
      if (!row->IsSubTotal()) {
        dataRows[static_cast<size_t>(i)] = static_cast<TDataRow*>(row);
      } else {
        subTotals.insert(row);
        subTotalStorages.insert(row->Storage());
      }
    }
  }
  for (int i = FItems.Count() - 1; i >= 0; --i) {
    if (deleting) {
      TDataRow* data = dataRows[static_cast<size_t>(i)];
      if (data == nullptr) continue;  // no row, or a subtotal row: stays listed
      if (deleted.count(data) != 0) {
        Delete(i);
        continue;
      }
      if (!Criteria->AcceptsRow(data, nullptr)) continue;
      if (Mode == gmMoveOut) {
        std::unique_ptr<TDataRow> copy = data->Clone();
        Results->InsertObject(0, FItems[i].FString, copy.get());
        copy.release();  // Results holds it now
      }
      deleted.insert(data);
      data->Delete(true);
      Delete(i);
      continue;
    }
    auto* row = dynamic_cast<TAbstractRow*>(FItems[i].FObject);
    if (row == nullptr || !Criteria->AcceptsRow(row, nullptr)) continue;
    if (Mode == gmRows) {
      Results->InsertObject(0, FItems[i].FString, row);
    } else if (!row->IsSubTotal()) {  // only data rows can be copied
      std::unique_ptr<TDataRow> copy = static_cast<TDataRow*>(row)->Clone();
      Results->InsertObject(0, FItems[i].FString, copy.get());
      copy.release();
    }
  }
  if (!deleted.empty() && !subTotals.empty()) DropFreedSubTotals(subTotals, subTotalStorages);
}

void TDataRowList::DropFreedSubTotals(const std::unordered_set<const platform::TObject*>& SubTotals,
                                      const std::unordered_set<TAbstractRowStorage*>& Storages) {
  // The subtotal rows still in their trees; every other listed subtotal row
  // went with its last data row.
  std::unordered_set<const platform::TObject*> alive;
  std::vector<const TSubTotalRow*> pending;
  for (TAbstractRowStorage* storage : Storages) {
    if (storage != nullptr) pending.push_back(storage->Root());
  }
  while (!pending.empty()) {
    const TSubTotalRow* row = pending.back();
    pending.pop_back();
    alive.insert(row);
    for (int c = 0; c < row->ChildCount(); ++c) {
      const TAbstractRow* child = row->Child(c);
      if (child != nullptr && child->IsSubTotal())
        pending.push_back(static_cast<const TSubTotalRow*>(child));
    }
  }
  for (int i = FItems.Count() - 1; i >= 0; --i) {
    const platform::TObject* object = FItems[i].FObject;
    if (SubTotals.count(object) != 0 && alive.count(object) == 0) Delete(i);
  }
}

}  // namespace dataframework
