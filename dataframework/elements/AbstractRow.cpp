#include "dataframework/elements/AbstractRow.h"

#include <cstring>

#include "dataframework/conditions/Criteria.h"
#include "dataframework/conditions/QuiltField.h"
#include "dataframework/conditions/QuiltPatch.h"
#include "dataframework/elements/AbstractRowStorage.h"
#include "dataframework/elements/DataField.h"
#include "dataframework/elements/DataRow.h"
#include "dataframework/elements/DataTable.h"
#include "dataframework/elements/internal/RowFieldKinds.h"
#include "dataframework/elements/RowSortOrder.h"
#include "dataframework/elements/RowStorage.h"
#include "dataframework/elements/RowStorageTreeKey.h"
#include "dataframework/elements/SubTotalRow.h"
#include "platform/Assert.h"
#include "platform/DataError.h"
#include "platform/TextUtils.h"

namespace dataframework {

namespace {

// The one value the key criteria of Storage (a TRowStorage) fixes Field to.
bool KeyCriteriaValue(const TAbstractRowStorage* Storage, const TDataField* Field, TValue& Value) {
  if (Storage == nullptr || !Storage->IsRowStorage()) return false;
  const TCriteria* criteria = static_cast<const TRowStorage*>(Storage)->KeyCriteria();
  return criteria != nullptr && criteria->HasOnlyValue(Field, Value);
}

// The text of Row's value of Field.
std::string KeyText(const TAbstractRow& Row, TDataField* Field) {
  return ValueAsString(Row.ValueOf(Field));
}

}  // namespace

// ---- Allocation: the record lives in the row's own block.

void* TAbstractRow::operator new(size_t Size, TRecordRoom Room) {
  return ::operator new(Size + Room.Bytes);
}
void TAbstractRow::operator delete(void* Block, TRecordRoom) noexcept {
  ::operator delete(Block);
}
void TAbstractRow::operator delete(void* Block) noexcept {
  ::operator delete(Block);
}

TAbstractRow::TAbstractRow(TDataTable* Table, size_t ObjectSize, bool IsSubTotal) noexcept
    : FTable(Table),
      FRecord(reinterpret_cast<unsigned char*>(this) + ObjectSize),
      FIsSubTotal(IsSubTotal) {
  if (Table != nullptr) std::memset(FRecord, 0, static_cast<size_t>(Table->RecordSize()));
}

TAbstractRow::~TAbstractRow() = default;

TAbstractRow::TRecordRoom TAbstractRow::RoomFor(const TDataTable* Table) {
  return TRecordRoom{Table != nullptr ? static_cast<size_t>(Table->RecordSize()) : 0};
}

// ---- Virtual operations with a body here.

TSetResult TAbstractRow::SetFieldValue(TDataField* Field, const TValue& Value) {
  return SetFieldValueEx(Field, Value, saRefuse);
}

TSetResult TAbstractRow::SetIndexValue(int Index, const TValue& Value) {
  return SetIndexValueEx(Index, Value, saRefuse);
}

void TAbstractRow::BeforeRead(TDataField*) const {}

int TAbstractRow::IndexOfField(const TDataField* Field) const {
  platform::Assert(Field != nullptr, "TAbstractRow.IndexOfField: Field <> nil");
  return FTable != nullptr ? FTable->IndexOfField(Field) : -1;
}

// ---- Value access.

void TAbstractRow::GetIndexValue(int Index, TValue& Value) const {
  TDataField* field = FTable->GetField(Index);
  if (TDataField* target = rowkinds::FictiveTarget(field)) {
    GetFieldValue(target, Value);
    return;
  }
  BeforeRead(field);
  // A subtotal row in a storage whose key criteria fixes this key shows the
  // fixed value whatever its record holds.
  if (FIsSubTotal && Index < FTable->KeyCount() && KeyCriteriaValue(FStorage, field, Value)) return;
  field->ReadValue(this, Index, Value);
}

void TAbstractRow::GetFieldValue(TDataField* Field, TValue& Value) const {
  platform::Assert(Field != nullptr, "TAbstractRow.GetFieldValue: Field <> nil");
  while (TDataField* target = rowkinds::FictiveTarget(Field)) Field = target;
  const int p = IndexOfField(Field);
  if (p >= 0) {
    GetIndexValue(p, Value);
    return;
  }
  if (FTable == nullptr || FTable->IndexOfField(Field) < 0) {
    // Not a field of the table: an extra key of a loose subtotal row, or
    // whatever the field finds for this row.
    if (FIsSubTotal && FStorage != nullptr && FStorage->IsLooseRow(this) &&
        FStorage->TreeKeyOf(Field) != nullptr &&
        Field != static_cast<const TSubTotalRow*>(this)->RefreshingField()) {
      Value = static_cast<const TSubTotalRow*>(this)->ExtraKeyValues().GetValue(
          FStorage->ExtraKeyIndex(Field));
      return;
    }
    Field->GetExternValue(this, Value);
    return;
  }
  // A key of a lower level than this subtotal row.
  if (KeyCriteriaValue(FStorage, Field, Value)) return;
  Field->DataType()->DefaultValue(Value);
}

TValue TAbstractRow::ValueAt(int Index) const {
  TValue v;
  GetIndexValue(Index, v);
  return v;
}

TValue TAbstractRow::ValueOf(TDataField* Field) const {
  TValue v;
  GetFieldValue(Field, v);
  return v;
}

TSetResult TAbstractRow::SetFieldValueEx(TDataField* Field, const TValue& Value,
                                         TSetAction Action) {
  platform::Assert(Field != nullptr, "TDataRow.SetFieldValue: Field <> nil");
  const int p = IndexOfField(Field);
  if (p >= 0) return SetIndexValueEx(p, Value, Action);
  // Only an extra key (one the table lacks) is kept among the extra keys.
  if (FIsSubTotal && FStorage != nullptr && FTable->IndexOfField(Field) < 0 &&
      FStorage->IsLooseRow(this) && FStorage->TreeKeyOf(Field) != nullptr) {
    auto* self = static_cast<TSubTotalRow*>(this);
    if (Field != self->RefreshingField()) {
      self->ExtraKeyValues().PutValue(FStorage->ExtraKeyIndex(Field), Value);
      self->RefreshExtraKeys();
      return srOk;
    }
  }
  return Field->SetExternValue(this, Value, Action);
}

void TAbstractRow::ReadIndexRaw(int Index, TValue& Value) const {
  const TDataType* type = FTable->GetField(Index)->DataType();
  if (type == nullptr) {
    Value = TValue();
    return;
  }
  type->ReadBuffer(FRecord + FTable->FieldOffset(Index), Index, Value, &LongTextReader,
                   const_cast<TAbstractRow*>(this));
}

void TAbstractRow::WriteIndexValue(int Index, const TValue& Value) {
  const TDataType* type = FTable->GetField(Index)->DataType();
  if (type == nullptr) return;  // a field without a type takes no room
  type->WriteBuffer(FRecord + FTable->FieldOffset(Index), Value, Index, &LongTextWriter, this);
}

void TAbstractRow::WriteIndexRaw(int Index, const TValue& Value) {
  WriteIndexValue(Index, Value);
}

void TAbstractRow::CopyRecordFrom(const TAbstractRow& Source) {
  if (&Source == this) return;
  std::memcpy(FRecord, Source.FRecord, static_cast<size_t>(FTable->RecordSize()));
  if (Source.FTexts) {
    if (!FTexts) FTexts = std::make_unique<platform::TStringList>();
    FTexts->Assign(Source.FTexts.get());
  } else {
    FTexts.reset();
  }
}

void TAbstractRow::LongTextWriter(void* Owner, int FieldIndex, const std::string& Text) {
  auto* row = static_cast<TAbstractRow*>(Owner);
  if (!row->FTexts) row->FTexts = std::make_unique<platform::TStringList>();
  platform::TStringList& texts = *row->FTexts;
  if (texts.Count() <= FieldIndex) {
    if (texts.GetCapacity() < FieldIndex + 1) texts.SetCapacity(FieldIndex + 1);
    while (texts.Count() <= FieldIndex) texts.Add(std::string());
  }
  texts.Put(FieldIndex, Text);
}

void TAbstractRow::LongTextReader(void* Owner, int FieldIndex, std::string& Text) {
  const auto* row = static_cast<const TAbstractRow*>(Owner);
  if (row->FTexts && FieldIndex >= 0 && FieldIndex < row->FTexts->Count()) {
    Text = row->FTexts->Get(FieldIndex);
  } else {
    Text.clear();
  }
}

void TAbstractRow::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  if (FStorage != nullptr) FStorage->RowChanged(rcVisibility, this, -1);
}

// ---- Typed access.

TSetResult TAbstractRow::SetFStringValue(TDataField* Field, const std::string& Value) {
  platform::Assert(Field != nullptr, "TDataRow.SetFStringValue: Field <> nil");
  return SetFieldValueEx(Field, StringValue(Value), saRefuse);
}

TSetResult TAbstractRow::SetFBooleanValue(TDataField* Field, bool Value) {
  platform::Assert(Field != nullptr, "TDataRow.SetFBooleanValue: Field <> nil");
  return SetFieldValueEx(Field, BooleanValue(Value), saRefuse);
}

TSetResult TAbstractRow::SetFPointerValue(TDataField* Field, platform::TObject* Value) {
  platform::Assert(Field != nullptr, "TDataRow.SetFPointerValue: Field <> nil");
  return SetFieldValueEx(Field, ObjectValue(Value), saRefuse);
}

std::string TAbstractRow::GetFStringValue(TDataField* Field) const {
  return ValueAsString(ValueOf(Field));
}

int32_t TAbstractRow::GetFIntegerValue(TDataField* Field) const {
  return ValueAsInteger(ValueOf(Field));
}

bool TAbstractRow::GetFBooleanValue(TDataField* Field) const {
  return ValueAsBoolean(ValueOf(Field));
}

// ---- Comparison and key display.

bool TAbstractRow::IndexEqual(int Index, const TAbstractRow* CmpRow) const {
  platform::Assert(CmpRow != nullptr, "TAbstractRow.IndexEqual: CmpRow <> nil");
  platform::Assert(
      Index >= 0 && Index < FTable->FieldCount(),
      "TAbstractRow.IndexEqual: (idx >= 0) and (idx < DataTable.FieldCount), idx: ", Index);
  const TValue a = ValueAt(Index);
  const TValue b = CmpRow->ValueAt(Index);
  return FTable->GetField(Index)->DataType()->Equals(a, b);
}

int TAbstractRow::Compare(const TAbstractRow* ARow, TRowSortOrder* SortOrder) const {
  platform::Assert(ARow != nullptr, "TAbstractRow.Before: ARow <> nil");
  SortOrder->SetTable(FTable);
  TValue a;
  TValue b;
  for (int i = 0; i < SortOrder->Count(); ++i) {
    const TRowSortOrderRule& rule = SortOrder->Rule(i);
    try {
      rule.GetValue(const_cast<TAbstractRow&>(*this), a);
      rule.GetValue(const_cast<TAbstractRow&>(*ARow), b);
    } catch (const platform::EAssertionFailed&) {
      throw;
    } catch (const std::exception&) {
      continue;  // a value that cannot be read does not decide the order
    }
    const int c = rule.Field()->DataType()->Compare(a, b);
    if (c != 0) return rule.Direction() == soDescending ? -c : c;
  }
  return 0;
}

void TAbstractRow::KeyDescription(TDataTable* Table, std::string& Text) const {
  Text.clear();
  const int levels = KeyLevelCount();
  TValue v;
  for (int i = 0; i < levels; ++i) {
    TDataField* field;
    if (FStorage != nullptr) {
      const TRowStorageTreeKey& key = FStorage->GetTreeKey(i);
      field = key.Field();
      if (Table != nullptr && Table->IndexOfField(field) < 0) continue;
      key.GetValue(this, v);
    } else {
      field = FTable->GetField(i);
      if (Table != nullptr && Table->IndexOfField(field) < 0) continue;
      GetIndexValue(i, v);
    }
    Text += field->FieldName() + "=" + TypeOf(v).SqlValue(v) + ", ";
  }
  if (Text.size() >= 2) Text.resize(Text.size() - 2);
}

std::string TAbstractRow::KeyDescription(TDataTable* Table) const {
  std::string text;
  KeyDescription(Table, text);
  return text;
}

TAbstractRow* TAbstractRow::FindTextRow(TDataField* Field, TDataField* TextField,
                                        bool& Found) const {
  Found = true;
  TDataTable* aux = Field->AuxTable();
  if (aux == nullptr) return nullptr;
  if ((TextField != nullptr && FTable->IndexOfField(TextField) >= 0) || aux == FTable)
    return const_cast<TAbstractRow*>(this);
  TAbstractRow* row = aux->CacheStorage()->LocateByRowValues(this, {Field});
  if (row == nullptr && TextField != nullptr && !rowkinds::IsCalculated(TextField) &&
      TextField->HomeTable() == aux)
    Found = false;
  return row;
}

void TAbstractRow::GetKeyAndDescription(TDataField* Field, TDataField* TextField,
                                        std::string& Text) const {
  platform::Assert(Field != nullptr, "TDataRow.GetKeyAndDescription: AField <> nil");
  const std::string key = KeyText(*this, Field);
  if (TextField == nullptr) {
    Text = key;
    return;
  }
  bool found;
  const TAbstractRow* row = FindTextRow(Field, TextField, found);
  if (!found) {
    Text = platform::Trim(key);
  } else if (rowkinds::IsCalculated(TextField)) {
    Text = platform::Trim(key + " " + KeyText(*this, TextField));
  } else if (row != nullptr) {
    Text = platform::Trim(key + " " + KeyText(*row, TextField));
  } else {
    Text = platform::Trim(key);
  }
}

void TAbstractRow::GetDisplayText(TDataField* Field, TDisplayValues DisplayValues,
                                  std::string& Text) const {
  TDataField* textField = Field->CurrentTextField();
  if (DisplayValues == dvDefault) DisplayValues = Field->EffectiveDisplayValues();
  if (textField == nullptr && (DisplayValues == dvKeyAndText || DisplayValues == dvTextOnly))
    DisplayValues = dvKeyOnly;
  switch (DisplayValues) {
    case dvKeyAndText:
      GetKeyAndDescription(Field, textField, Text);
      return;
    case dvTextOnly: {
      bool found;
      const TAbstractRow* row = FindTextRow(Field, textField, found);
      if (found && rowkinds::IsCalculated(textField)) {
        Text = KeyText(*this, textField);
      } else if (found && row != nullptr) {
        Text = KeyText(*row, textField);
      } else {
        Text = KeyText(*this, Field);
      }
      return;
    }
    default:
      Text = KeyText(*this, Field);
      return;
  }
}

TAbstractRow* TAbstractRow::Lookup(TDataField*& Field) const {
  auto* self = const_cast<TAbstractRow*>(this);
  const std::vector<TDataField*>& aliases = FTable->AliasFields();
  for (size_t i = 0; i < aliases.size(); ++i) {
    if (aliases[i] == Field) {
      Field = FTable->AliasTargets()[i];
      return self;
    }
  }
  if (Field->AuxTable() == FTable && Field->LookupKey() != nullptr &&
      IndexOfField(Field->LookupKey()) >= 0) {
    Field = Field->LookupKey();
    return self;
  }
  TDataTable* home = Field->HomeTable();
  if (home == nullptr) {
    platform::DataError(platform::esFatal, "Lookup",
                        "Not enough info on field to perform lookup! Row: " + FTable->TableName() +
                            "Row, Field: " + Field->FieldName());
    return nullptr;
  }
  // The row's best field for a key K of the home table: one it shows or its
  // table resolves.
  auto reachable = [this](TDataField* F) {
    return IndexOfField(F) >= 0 || FTable->ResolveField(F) != nullptr;
  };
  auto patch = std::make_unique<TQuiltPatch>();
  for (int k = 0; k < home->KeyCount(); ++k) {
    TDataField* key = home->GetField(k);
    TDataField* best = nullptr;
    TDataField* derivedKey = Field->DerivedKey();
    if (derivedKey != nullptr && derivedKey->LookupKey() == key && reachable(derivedKey)) {
      best = derivedKey;
    } else if (IndexOfField(key) >= 0) {
      best = key;
    } else {
      for (int d = 0; d < key->DerivedFieldCount() && best == nullptr; ++d) {
        TDataField* derived = key->GetDerivedField(d);
        if (reachable(derived)) best = derived;
      }
      if (best == nullptr) best = key;
    }
    TQuiltField* part = patch->FieldFor(key, true);
    part->SetNone();
    part->AddValue(ValueOf(best));
  }
  platform::TStringList rows;
  home->CacheStorage()->GetRows(&rows, patch.get(), gmRows);
  return rows.Count() > 0 ? static_cast<TAbstractRow*>(rows.GetObject(0)) : nullptr;
}

}  // namespace dataframework
