#include "platform/StringList.h"

#include <algorithm>
#include <string>

#include "platform/SortedSearch.h"
#include "platform/TextUtils.h"

namespace platform {

const TClass& TStrings::StaticClass() {
  static const TClass Class("TStrings", &TPersistent::StaticClass(), "StringList");
  return Class;
}

const TClass& TStringList::StaticClass() {
  static const TClass Class("TStringList", &TStrings::StaticClass(), "StringList");
  return Class;
}

// ---- TStrings ----

void TStrings::Put(int Index, const std::string& S) {
  TObject* object = GetObject(Index);
  BeginUpdate();
  try {
    Delete(Index);
    InsertObject(Index, S, object);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

TObject* TStrings::GetObject(int) const {
  return nullptr;
}

void TStrings::PutObject(int, TObject*) {}

int TStrings::Add(const std::string& S) {
  int index = GetCount();
  Insert(index, S);
  return index;
}

int TStrings::AddObject(const std::string& S, TObject* AObject) {
  int index = Add(S);
  PutObject(index, AObject);
  return index;
}

void TStrings::InsertObject(int Index, const std::string& S, TObject* AObject) {
  Insert(Index, S);
  PutObject(Index, AObject);
}

void TStrings::Exchange(int Index1, int Index2) {
  BeginUpdate();
  try {
    std::string text = Get(Index1);
    TObject* object = GetObject(Index1);
    Put(Index1, Get(Index2));
    PutObject(Index1, GetObject(Index2));
    Put(Index2, text);
    PutObject(Index2, object);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

int TStrings::GetCapacity() const {
  return GetCount();
}

void TStrings::SetCapacity(int) {}

int TStrings::IndexOf(const std::string& S) const {
  const int n = GetCount();
  for (int i = 0; i < n; ++i) {
    if (CompareStrings(Get(i), S) == 0) return i;
  }
  return -1;
}

int TStrings::IndexOfObject(const TObject* AObject) const {
  const int n = GetCount();
  for (int i = 0; i < n; ++i) {
    if (GetObject(i) == AObject) return i;
  }
  return -1;
}

void TStrings::AddStrings(const TStrings& Strings) {
  BeginUpdate();
  try {
    const int n = Strings.GetCount();  // fixed first, so adding a list to itself ends
    for (int i = 0; i < n; ++i) AddObject(Strings.Get(i), Strings.GetObject(i));
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::Assign(const TPersistent* Source) {
  if (const auto* strings = dynamic_cast<const TStrings*>(Source)) {
    if (strings == this) return;
    BeginUpdate();
    try {
      Clear();
      AddStrings(*strings);
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
    return;
  }
  TPersistent::Assign(Source);
}

std::string TStrings::Names(int Index) const {
  std::string line = Get(Index);
  size_t eq = line.find('=');
  return eq == std::string::npos ? std::string() : line.substr(0, eq);
}

std::string TStrings::ValueFromIndex(int Index) const {
  std::string line = Get(Index);
  size_t eq = line.find('=');
  return eq == std::string::npos ? std::string() : line.substr(eq + 1);
}

int TStrings::IndexOfName(const std::string& Name) const {
  const int n = GetCount();
  for (int i = 0; i < n; ++i) {
    std::string line = Get(i);
    size_t eq = line.find('=');
    if (eq != std::string::npos && SameText(std::string_view(line).substr(0, eq), Name)) return i;
  }
  return -1;
}

std::string TStrings::Values(const std::string& Name) const {
  int index = IndexOfName(Name);
  return index < 0 ? std::string() : ValueFromIndex(index);
}

void TStrings::SetValues(const std::string& Name, const std::string& Value) {
  int index = IndexOfName(Name);
  if (Value.empty()) {
    if (index >= 0) Delete(index);
    return;
  }
  if (index < 0) {
    Add(Name + "=" + Value);
  } else {
    Put(index, Name + "=" + Value);
  }
}

std::string TStrings::Text() const {
  std::string out;
  const int n = GetCount();
  for (int i = 0; i < n; ++i) {
    out += Get(i);
    out += '\n';
  }
  return out;
}

void TStrings::SetText(std::string_view Text) {
  BeginUpdate();
  try {
    Clear();
    size_t start = 0;
    while (start < Text.size()) {
      size_t end = Text.find_first_of("\r\n", start);
      if (end == std::string_view::npos) {
        Add(std::string(Text.substr(start)));
        break;
      }
      Add(std::string(Text.substr(start, end - start)));
      start = end + 1;
      if (Text[end] == '\r' && start < Text.size() && Text[start] == '\n') ++start;
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::BeginUpdate() {
  if (FUpdateCount == 0) SetUpdateState(true);
  ++FUpdateCount;
}

void TStrings::EndUpdate() {
  if (FUpdateCount == 0) return;  // unbalanced: nothing is open
  --FUpdateCount;
  if (FUpdateCount == 0) SetUpdateState(false);
}

void TStrings::SetUpdateState(bool) {}

int TStrings::CompareStrings(const std::string& S1, const std::string& S2) const {
  return CompareText(S1, S2);
}

void TStrings::Error(const char* Msg, int Data) {
  throw EListError(FormatMessage(Msg, {std::to_string(Data)}));
}

void TStrings::Error(const char* Msg) {
  throw EListError(Msg);
}

// ---- TStringList ----

void TStringList::CheckIndex(int Index) const {
  if (Index < 0 || Index >= GetCount()) Error(SListIndexError, Index);
}

std::string TStringList::Get(int Index) const {
  CheckIndex(Index);
  return FItems[Index].FString;
}

void TStringList::Put(int Index, const std::string& S) {
  if (FSorted) Error(SSortedListError);
  CheckIndex(Index);
  Changing();
  FItems[Index].FString = S;
  Changed();
}

TObject* TStringList::GetObject(int Index) const {
  CheckIndex(Index);
  return FItems[Index].FObject;
}

void TStringList::PutObject(int Index, TObject* AObject) {
  CheckIndex(Index);
  Changing();
  FItems[Index].FObject = AObject;
  Changed();
}

int TStringList::Add(const std::string& S) {
  return AddObject(S, nullptr);
}

int TStringList::AddObject(const std::string& S, TObject* AObject) {
  int index = GetCount();
  if (FSorted) {
    if (Find(S, index)) {
      if (FDuplicates == dupIgnore) return index;
      if (FDuplicates == dupError) Error(SDuplicateString);
    }
  }
  InsertItem(index, S, AObject);
  return index;
}

void TStringList::Insert(int Index, const std::string& S) {
  if (FSorted) Error(SSortedListError);
  if (Index < 0 || Index > GetCount()) Error(SListIndexError, Index);
  InsertItem(Index, S, nullptr);
}

void TStringList::InsertItem(int Index, const std::string& S, TObject* AObject) {
  Changing();
  FItems.Insert(Index, S, AObject);
  Changed();
}

void TStringList::Delete(int Index) {
  CheckIndex(Index);
  Changing();
  FItems.Delete(Index);
  Changed();
}

void TStringList::Exchange(int Index1, int Index2) {
  CheckIndex(Index1);
  CheckIndex(Index2);
  Changing();
  FItems.Exchange(Index1, Index2);
  Changed();
}

void TStringList::Clear() {
  if (FItems.Count() == 0) return;
  Changing();
  FItems.Clear();
  Changed();
}

void TStringList::SetCapacity(int NewCapacity) {
  if (NewCapacity < GetCount()) Error(SListCapacityError, NewCapacity);
  if (NewCapacity > FItems.Capacity()) FItems.Reserve(NewCapacity);
}

int TStringList::IndexOf(const std::string& S) const {
  if (!FSorted) return TStrings::IndexOf(S);
  int index = 0;
  return Find(S, index) ? index : -1;
}

bool TStringList::Find(const std::string& S, int& Index) const {
  if (!FSorted) Error("Operation allowed on sorted list only");
  return SortedFind(
      GetCount(), FDuplicates != dupAccept,
      [&](int I) { return CompareStrings(FItems[static_cast<size_t>(I)].FString, S); }, Index);
}

void TStringList::Sort() {
  CustomSort([](const TStringList& list, int a, int b) {
    return list.CompareStrings(list.FItems[a].FString, list.FItems[b].FString);
  });
}

void TStringList::CustomSort(const TCompare& Compare) {
  if (GetCount() < 2) return;
  Changing();
  // Sort positions, then rearrange, so Compare sees the list unchanged.
  std::vector<int> order(static_cast<size_t>(FItems.Count()));
  for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return Compare(*this, a, b) < 0; });
  FItems.Rearrange(order);
  Changed();
}

void TStringList::SetSorted(bool Value) {
  if (FSorted == Value) return;
  if (Value) Sort();
  FSorted = Value;
}

void TStringList::SetCaseSensitive(bool Value) {
  if (FCaseSensitive == Value) return;
  FCaseSensitive = Value;
  if (FSorted) Sort();
}

void TStringList::SetUpdateState(bool Updating) {
  if (Updating) {
    Changing();
  } else {
    Changed();
  }
}

int TStringList::CompareStrings(const std::string& S1, const std::string& S2) const {
  return FCaseSensitive ? CompareStr(S1, S2) : CompareText(S1, S2);
}

void TStringList::Changing() {
  if (UpdateCount() == 0 && OnChanging) OnChanging();
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && OnChange) OnChange();
}

}  // namespace platform
