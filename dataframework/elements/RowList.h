// TDataRowList: a text list whose entries carry rows as their objects
// (module RowList). Criteria evaluation and the translator gather rows in it,
// show them by a display text (SetDisplayTexts) and take them out of it with
// the four get-rows modes of a row storage (GetRows).
//
// It keeps the platform's text-list contract the way the platform's string
// list does (index errors, sorted-list and duplicate errors, change events
// around every change, update brackets), with its own growth rule (16 entries
// first, then doubling) and a locale-aware, case-insensitive text order for
// Find, Sort and sorted insertion.
//
// Ownership: the list owns its entries (text and reference) but never the
// rows behind them. Rows handed out as copies (gmCopies, gmMoveOut) are
// owned by the list that receives them.
// REQUIRES: the rows of the entries outlive their entries (a row freed
// elsewhere must leave the list first).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <unordered_set>

#include "dataframework/conditions/ConditionsFwd.h"
#include "dataframework/elements/ElementsFwd.h"
#include "dataframework/types/DataTypes.h"
#include "platform/StringList.h"

namespace dataframework {

class TDataRowList : public platform::TStrings {
  CLAVIRA_DECLARE_CLASS()

 public:
  // Orders two entries: negative when Index1 comes first.
  using TCompare = std::function<int(TDataRowList& List, int Index1, int Index2)>;

  TDataRowList();
  ~TDataRowList() override;

  // ---- The text-list contract.
  std::string Get(int Index) const override;
  // Refused on a sorted list.
  void Put(int Index, const std::string& S) override;
  platform::TObject* GetObject(int Index) const override;
  void PutObject(int Index, platform::TObject* AObject) override;
  // Sorted: at its place; a present text by Duplicates (ignore: the present
  // index, accept: inserted anyway, error: EListError). Unsorted: appended.
  int Add(const std::string& S) override;
  int AddObject(const std::string& S, platform::TObject* AObject) override;
  // Refused on a sorted list; 0 <= Index <= Count.
  void Insert(int Index, const std::string& S) override;
  void Delete(int Index) override;
  void Exchange(int Index1, int Index2) override;
  // Nothing on an empty list; otherwise every entry goes and the capacity
  // becomes 0.
  void Clear() override;
  int GetCount() const override { return FItems.Count(); }
  int GetCapacity() const override { return FCapacity; }
  // REQUIRES: NewCapacity >= Count (else EListError).
  void SetCapacity(int NewCapacity) override;
  // Sorted: through Find (-1 when absent); unsorted: the linear search.
  int IndexOf(const std::string& S) const override;

  // ---- Virtual operations added here, in their fixed order.
  // 1, 2: OnChange / OnChanging unless inside an update bracket.
  virtual void Changed();
  virtual void Changing();
  // 3: binary search by the case-insensitive locale order. Found: Index is
  // the equal entry met (with dupAccept the first equal entry); not found:
  // Index is where S would go. Meant for a sorted list.
  virtual bool Find(const std::string& S, int& Index) const;
  // 4: CustomSort with the case-insensitive text order of two entries.
  virtual void Sort();
  // 5: nothing when Sorted or with fewer than two entries; otherwise a
  // quicksort of the entries (text and row together) by Compare.
  virtual void CustomSort(const TCompare& Compare);
  // 6: hands the rows accepted by Criteria (none: all) to Results by Mode,
  // keeping the list's order: gmRows the rows, gmCopies copies, gmMoveOut
  // copies while the rows are deleted and their entries removed, gmDelete
  // the rows are deleted and their entries removed. Entries without a row
  // are skipped; subtotal rows are delivered by gmRows only and stay listed
  // in the other modes, unless deleting their data rows freed them (their
  // entries go then).
  // REQUIRES: Results is given unless Mode is gmDelete.
  virtual void GetRows(platform::TStrings* Results, const TCondition* Criteria, TGetRowsMode Mode);

  // ---- Row operations.
  // The row of entry Index (none when the entry holds no row).
  // REQUIRES: 0 <= Index < Count
  // ("TDataRowList.GetDataRow: (idx >= 0) and (idx < Count), idx: ").
  TAbstractRow* GetDataRow(int Index) const;
  // Every entry with a row gets the row's display text of KeyField (through
  // Put, so a sorted list refuses it at the first row).
  void SetDisplayTexts(TDataField* KeyField, TDisplayValues DisplayValues);

  // The case-insensitive, locale-aware order of two texts used by the list.
  static int CompareTexts(const std::string& S1, const std::string& S2);

  // ---- Properties.
  bool Updating() const { return FUpdating; }
  bool Sorted() const { return FSorted; }
  // Turning it on sorts the list first.
  void SetSorted(bool Value);
  platform::TDuplicates Duplicates() const { return FDuplicates; }
  void SetDuplicates(platform::TDuplicates Value) { FDuplicates = Value; }

  std::function<void()> OnChange;
  std::function<void()> OnChanging;

 protected:
  void SetUpdateState(bool Updating) override;
  int CompareStrings(const std::string& S1, const std::string& S2) const override;

 private:
  void CheckIndex(int Index) const;
  void Grow();
  void InsertItem(int Index, const std::string& S, platform::TObject* AObject);
  void ExchangeItems(int Index1, int Index2);
  void QuickSort(int L, int R, const TCompare& Compare);
  // Removes the entries of SubTotals that are no longer in the trees of
  // Storages (freed when a delete emptied them).
  void DropFreedSubTotals(const std::unordered_set<const platform::TObject*>& SubTotals,
                          const std::unordered_set<TAbstractRowStorage*>& Storages);

  platform::TStringEntries FItems;
  int FCapacity = 0;  // the list's own growth rule, kept exactly in FItems
  bool FUpdating = false;
  bool FSorted = false;
  platform::TDuplicates FDuplicates = platform::dupIgnore;
};

}  // namespace dataframework
