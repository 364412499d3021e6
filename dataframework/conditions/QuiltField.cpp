#include "dataframework/conditions/QuiltField.h"

#include "dataframework/conditions/Quilt.h"
#include "dataframework/elements/AbstractRow.h"
#include "dataframework/elements/DataField.h"
#include "dataframework/elements/DataFieldSet.h"
#include "dataframework/elements/DataTable.h"
#include "dataframework/elements/SubTotalRow.h"
#include "dataframework/types/TextTypes.h"
#include "platform/Assert.h"
#include "platform/DataError.h"

namespace dataframework {

namespace {

// An unrestricted list takes part in the sweep as the single interval
// (MinusInfinity, PlusInfinity).
const TQuiltValueItem& UniverseItem() {
  static const TQuiltValueItem Item{MinusInfinity(), PlusInfinity()};
  return Item;
}

// Read access to a list as the sweep sees it.
struct TSweepList {
  explicit TSweepList(const TQuiltValueList& List) : FList(List), FUniverse(!List.Restricted()) {}
  int Count() const { return FUniverse ? 1 : FList.Count(); }
  const TQuiltValueItem& At(int Index) const {
    return FUniverse ? UniverseItem() : FList.Item(Index);
  }

  const TQuiltValueList& FList;
  bool FUniverse;
};

// Where the sweep puts the pieces of one part; a missing target only sets
// the flag.
struct TSplitTarget {
  TQuiltField* Field;
  bool* Flag;
  void Add(const TQuiltPoint& Start, const TQuiltPoint& End) const {
    *Flag = true;
    if (Field != nullptr) Field->ValueList().AppendUnchecked(Start, End);
  }
};

bool IsSubTotalWithoutValue(TAbstractRow* Row, TDataField* Field) {
  auto* subtotal = dynamic_cast<TSubTotalRow*>(Row);
  return subtotal != nullptr && !subtotal->FieldHasValue(Field);
}

std::unique_ptr<TQuilt> TakeQuilt(platform::TMaybeOwned<TCommonQuilt>& Other, const TQuilt& Quilt) {
  if (Other.MustFree())
    return std::unique_ptr<TQuilt>(static_cast<TQuilt*>(Other.ReleaseOwned().release()));
  return Quilt.Copy();
}

}  // namespace

std::string PrefixUpperBound(const TDataType& DataType, const std::string& Text) {
  if (Text.empty()) return std::string();
  auto* stringType = dynamic_cast<const TStringType*>(&DataType);
  bool caseSensitive = stringType != nullptr && stringType->CaseSensitive();
  std::string s = Text;
  while (!s.empty()) {
    // A last character of code 255 cannot grow: drop it and carry into the
    // one before.
    unsigned char c = static_cast<unsigned char>(s.back());
    if (c == 255) {
      s.pop_back();
      continue;
    }
    bool carried = false;
    for (unsigned k = 1;; ++k) {
      unsigned next = c + k;
      if (next >= 255) {
        s.pop_back();
        carried = true;
        break;
      }
      if (caseSensitive ||
          DataType.Compare(StringValue(std::string(1, static_cast<char>(next))),
                           StringValue(std::string(1, static_cast<char>(c)))) > 0) {
        s.back() = static_cast<char>(next);
        return s;
      }
    }
    if (!carried) break;
  }
  return s;
}

const platform::TClass& TQuiltField::StaticClass() {
  static const TConditionClass Class("TQuiltField", &TCustomQuilt::StaticClass(), "Quilt", nullptr);
  return Class;
}

TQuiltField::TQuiltField(TDataField* Field, TCondition* Owner)
    : TCustomQuilt(Owner), FFieldSet(std::make_unique<TDataFieldSet>()), FValueList(Field) {
  FFieldSet->Add(Field);
  FValueList.SetOnChange([this] { Changed(); });
}

TQuiltField::~TQuiltField() = default;

std::unique_ptr<TQuiltField> TQuiltField::Copy() const {
  auto result = std::make_unique<TQuiltField>(Field());
  result->CopyFrom(*this);
  return result;
}

void TQuiltField::AddValue(const TValue& Value) {
  TQuiltPoint p = MakePoint(Value, true);
  AddIntervalPoints(p, p);
}

void TQuiltField::AddInterval(const TQuiltPoint& Start, const TQuiltPoint& End) {
  if (!Field()->Intervals() && !PointsEqual(FValueList.DataType(), Start, End))
    throw platform::Exception(ClassName() +
                              ".AddInterval: Intervals not supported for the field '" +
                              Field()->FieldName() + "'!");
  AddIntervalPoints(Start, End);
}

void TQuiltField::AddIntervalPoints(const TQuiltPoint& Start, const TQuiltPoint& End) {
  TConditionUpdate bracket(*this);
  FValueList.AddInterval(Start, End);
}

void TQuiltField::AddPrefixRange(const std::string& Text) {
  if (Text.empty()) {
    SetAll();
    return;
  }
  std::string upper = PrefixUpperBound(FValueList.DataType(), Text);
  TQuiltPoint start = MakePoint(StringValue(Text), true);
  AddIntervalPoints(start, upper.empty() ? PlusInfinity() : MakePoint(StringValue(upper), false));
}

void TQuiltField::SetNone() {
  TConditionUpdate bracket(*this);
  FValueList.SetNone();
}

void TQuiltField::SetAll() {
  TConditionUpdate bracket(*this);
  FValueList.AddInterval(MinusInfinity(), PlusInfinity());
}

void TQuiltField::InternalAddFrom(const TQuiltField& Source, bool Merge, const char* Message) {
  if (Source.Count() > 0 && &Source.FValueList.DataType() != &FValueList.DataType())
    platform::DataError(platform::esFatal, "CopyFrom", Message);
  if (&Source == this) return;
  TConditionUpdate bracket(*this);
  if (!Merge) {
    // A copy takes the state too: an empty source gives an empty field.
    FValueList.Unrestrict();
    if (Source.Restricted()) FValueList.SetNone();
    for (int i = 0; i < Source.Count(); ++i) {
      const TQuiltValueItem& item = Source.FValueList.Item(i);
      FValueList.AppendUnchecked(item.StartPoint, item.EndPoint);
    }
    FValueList.Signal();
    return;
  }
  // A union with everything is everything, whichever side it is.
  if (!Restricted()) return;
  if (!Source.Restricted()) {
    FValueList.Unrestrict();
    return;
  }
  for (int i = 0; i < Source.Count(); ++i) {
    const TQuiltValueItem& item = Source.FValueList.Item(i);
    FValueList.AddInterval(item.StartPoint, item.EndPoint);
  }
}

void TQuiltField::CopyFrom(const TQuiltField& Source) {
  InternalAddFrom(Source, false, "TQuiltField.CopyFrom: Different DataField types!");
}

void TQuiltField::UnionField(const TQuiltField& Other) {
  InternalAddFrom(Other, true, "TQuiltField.InternalAddFrom: Different DataField types!");
}

void TQuiltField::SubtractField(const TQuiltField& Other) {
  platform::Assert(&Other.FValueList.DataType() == &FValueList.DataType(), "Assertion failure");
  TConditionUpdate bracket(*this);
  TQuiltField result(Field());
  SplitCore(Other, nullptr, &result, nullptr);
  Swap(result);
}

void TQuiltField::IntersectField(const TQuiltField& Other) {
  platform::Assert(&Other.FValueList.DataType() == &FValueList.DataType(), "Assertion failure");
  TConditionUpdate bracket(*this);
  TQuiltField result(Field());
  SplitCore(Other, &result, nullptr, nullptr);
  Swap(result);
}

TQuiltField::TSplitFlags TQuiltField::Split(const TQuiltField& Other, TQuiltField* Both,
                                            TQuiltField* SelfOnly, TQuiltField* OtherOnly) const {
  if (Both == nullptr && SelfOnly == nullptr)
    throw platform::Exception(ClassName() +
                              ".Split: You have to supply at least one of "
                              "the TQuiltFields to put the intersection or difference in!");
  return SplitCore(Other, Both, SelfOnly, OtherOnly);
}

TQuiltField::TSplitFlags TQuiltField::SplitFlags(const TQuiltField& Other) const {
  return SplitCore(Other, nullptr, nullptr, nullptr);
}

TQuiltField::TSplitFlags TQuiltField::SplitCore(const TQuiltField& Other, TQuiltField* Both,
                                                TQuiltField* SelfOnly,
                                                TQuiltField* OtherOnly) const {
  const TDataType& type = FValueList.DataType();
  platform::Assert(&Other.FValueList.DataType() == &type, "Assertion failure");
  for (TQuiltField* target : {Both, SelfOnly, OtherOnly}) {
    if (target == nullptr) continue;
    platform::Assert(&target->FValueList.DataType() == &type, "Assertion failure");
    platform::Assert(target != this && target != &Other, "Assertion failure");
  }
  for (TQuiltField* target : {Both, SelfOnly, OtherOnly})
    if (target != nullptr) target->SetNone();

  TSplitFlags flags;
  const bool selfEmpty = IsEmpty(nullptr);
  const bool otherEmpty = Other.IsEmpty(nullptr);
  if (selfEmpty || otherEmpty) {
    // Nothing is shared; each side's values are its own (none when empty).
    flags.OtherHasMore = !otherEmpty;
    flags.SelfHasMore = !selfEmpty;
    if (OtherOnly != nullptr && !otherEmpty) OtherOnly->CopyFrom(Other);
    if (SelfOnly != nullptr && !selfEmpty) SelfOnly->CopyFrom(*this);
    return flags;
  }
  if (IsUniverse(nullptr) && Other.IsUniverse(nullptr)) {
    flags.Overlap = true;
    if (Both != nullptr) Both->SetAll();
    return flags;
  }

  const bool anyTarget = Both != nullptr || SelfOnly != nullptr || OtherOnly != nullptr;
  TSplitTarget both{Both, &flags.Overlap};
  TSplitTarget selfOnly{SelfOnly, &flags.SelfHasMore};
  TSplitTarget otherOnly{OtherOnly, &flags.OtherHasMore};
  TSweepList x(FValueList);
  TSweepList y(Other.FValueList);
  int i = 0;
  int j = 0;
  // Current items; their starts may be carried forward within the item.
  TQuiltPoint xs, ys;
  if (x.Count() > 0) xs = x.At(0).StartPoint;
  if (y.Count() > 0) ys = y.At(0).StartPoint;
  auto advanceX = [&] {
    if (++i < x.Count()) xs = x.At(i).StartPoint;
  };
  auto advanceY = [&] {
    if (++j < y.Count()) ys = y.At(j).StartPoint;
  };
  while (i < x.Count() && j < y.Count()) {
    if (!anyTarget && flags.Overlap && flags.SelfHasMore && flags.OtherHasMore) return flags;
    const TQuiltPoint& xe = x.At(i).EndPoint;
    const TQuiltPoint& ye = y.At(j).EndPoint;
    int cs = CompareStartPoints(type, xs, ys);
    int ce = CompareEndPoints(type, xe, ye);
    if (cs > 0) {
      if (CompareStartToEnd(type, xs, ye) > 0) {
        otherOnly.Add(ys, ye);
        advanceY();
        continue;
      }
      otherOnly.Add(ys, ComplementPoint(xs));
      if (ce > 0) {
        both.Add(xs, ye);
        xs = ComplementPoint(ye);
        advanceY();
      } else if (ce == 0) {
        both.Add(xs, xe);
        advanceX();
        advanceY();
      } else {
        both.Add(xs, xe);
        ys = ComplementPoint(xe);
        advanceX();
      }
    } else {
      if (CompareStartToEnd(type, ys, xe) > 0) {
        selfOnly.Add(xs, xe);
        advanceX();
        continue;
      }
      if (cs < 0) selfOnly.Add(xs, ComplementPoint(ys));
      if (ce > 0) {
        both.Add(ys, ye);
        xs = ComplementPoint(ye);
        advanceY();
      } else if (ce == 0) {
        both.Add(ys, xe);
        advanceX();
        advanceY();
      } else {
        both.Add(ys, xe);
        ys = ComplementPoint(xe);
        advanceX();
      }
    }
  }
  if (i < x.Count()) {
    selfOnly.Add(xs, x.At(i).EndPoint);
    for (++i; i < x.Count(); ++i) selfOnly.Add(x.At(i).StartPoint, x.At(i).EndPoint);
  }
  if (j < y.Count()) {
    otherOnly.Add(ys, y.At(j).EndPoint);
    for (++j; j < y.Count(); ++j) otherOnly.Add(y.At(j).StartPoint, y.At(j).EndPoint);
  }
  for (TQuiltField* target : {Both, SelfOnly, OtherOnly})
    if (target != nullptr) target->FValueList.Signal();
  return flags;
}

bool TQuiltField::HullsApart(const TQuiltField& Other) const {
  if (!Restricted() || !Other.Restricted() || Count() == 0 || Other.Count() == 0) return false;
  const TDataType& type = FValueList.DataType();
  const TQuiltValueList& o = Other.FValueList;
  return CompareStartToEnd(type, o.Get(0), FValueList.Get2(Count() - 1)) > 0 ||
         CompareStartToEnd(type, FValueList.Get(0), o.Get2(o.Count() - 1)) > 0;
}

bool TQuiltField::HullHolds(const TQuiltField& Other) const {
  if (!Restricted() || !Other.Restricted() || Other.Count() == 0) return true;
  if (Count() == 0) return false;
  const TDataType& type = FValueList.DataType();
  const TQuiltValueList& o = Other.FValueList;
  return CompareStartPoints(type, FValueList.Get(0), o.Get(0)) <= 0 &&
         CompareEndPoints(type, FValueList.Get2(Count() - 1), o.Get2(o.Count() - 1)) >= 0;
}

TQuiltRelation TQuiltField::FieldRelation(const TQuiltField& Other) const {
  if (Other.Field() != Field()) return qrOverlapping;
  if (HullsApart(Other)) return qrDisjoint;
  TSplitFlags flags = SplitFlags(Other);
  if (!flags.Overlap && flags.SelfHasMore && flags.OtherHasMore) return qrDisjoint;
  // Without overlap, a side with nothing of its own is empty: nothing is
  // inside everything, two empty fields are equal.
  if (!flags.SelfHasMore && !flags.OtherHasMore) return qrEqual;
  if (flags.SelfHasMore && !flags.OtherHasMore) return qrContains;
  if (!flags.SelfHasMore) return qrContainedIn;
  return qrOverlapping;
}

bool TQuiltField::FieldContains(const TQuiltField& Other, bool& Touch,
                                const TDataFieldSet* FieldSet) const {
  if (Other.Field() != Field() || !TDataFieldSet::Contains(FieldSet, Field()) ||
      IsUniverse(FieldSet)) {
    Touch = true;
    return true;
  }
  if (HullsApart(Other)) {
    Touch = false;
    return false;
  }
  TSplitFlags flags = SplitFlags(Other);
  Touch = flags.Overlap;
  return !flags.OtherHasMore;
}

void TQuiltField::Swap(TQuiltField& Other) {
  FValueList.SwapContents(Other.FValueList);
  FValueList.Signal();
  Other.FValueList.Signal();
}

bool TQuiltField::IsNice() const {
  return true;
}

bool TQuiltField::AcceptsRow(TAbstractRow* Row, const TDataFieldSet* FieldSet) const {
  if (!Restricted()) return true;
  if (IsSubTotalWithoutValue(Row, Field())) return true;
  if (!TDataFieldSet::Contains(FieldSet, Field())) return true;
  TValue value;
  Row->GetFieldValue(Field(), value);
  return FValueList.ContainsValue(value);
}

bool TQuiltField::AcceptsRowLenient(TAbstractRow* Row, const TDataFieldSet* FieldSet) const {
  try {
    return AcceptsRow(Row, FieldSet);
  } catch (const platform::Exception&) {
    return true;
  }
}

bool TQuiltField::AcceptsValue(const TDataField* Field, const TValue& Value) const {
  if (!Restricted() || Field != this->Field()) return true;
  return FValueList.ContainsValue(Value);
}

std::unique_ptr<TCondition> TQuiltField::Clone() const {
  return Copy();
}

std::unique_ptr<TCondition> TQuiltField::CreateFieldTranslatedCopy(TFieldTranslator Translate,
                                                                   void* UserData) const {
  int conflictAction = 1;
  bool keepOriginal = false;
  TDataField* target = Translate(UserData, Field(), conflictAction, keepOriginal);
  if (target == nullptr) return nullptr;
  auto result = std::make_unique<TQuiltField>(target);
  result->CopyFrom(*this);
  return result;
}

bool TQuiltField::AcceptsAllOfTable(const TDataTable* Table) const {
  return !Table->TableHasField(Field()) || IsUniverse(nullptr);
}

bool TQuiltField::AcceptsNoneOfTable(const TDataTable* Table) const {
  return Table->TableHasField(Field()) && IsEmpty(nullptr);
}

bool TQuiltField::AcceptsAllOfField(const TDataField* Field) const {
  return Field != this->Field() || IsUniverse(nullptr);
}

bool TQuiltField::AcceptsNoneOfField(const TDataField* Field) const {
  return Field == this->Field() && IsEmpty(nullptr);
}

bool TQuiltField::HasOnlyValue(const TDataField* Field, TValue& Value) const {
  if (Field != this->Field() || !Restricted() || Count() != 1) return false;
  const TQuiltValueItem& item = FValueList.Item(0);
  if (!PointsEqual(FValueList.DataType(), item.StartPoint, item.EndPoint)) return false;
  Value = item.StartPoint.Value;
  return true;
}

void TQuiltField::ForEachField(TFieldCallback Callback, void* UserData) const {
  Callback(UserData, Field(), IsUniverse(nullptr));
}

const TDataFieldSet& TQuiltField::FieldSet() const {
  return *FFieldSet;
}

std::unique_ptr<TCommonQuilt> TQuiltField::Union(std::unique_ptr<TCommonQuilt> Self,
                                                 platform::TMaybeOwned<TCommonQuilt> Other) {
  platform::Assert(Self.get() == this, "TQuiltField.Union: Self is not this object");
  if (auto* quilt = dynamic_cast<TQuilt*>(Other.get())) {
    std::unique_ptr<TQuilt> target = TakeQuilt(Other, *quilt);
    TQuilt* receiver = target.get();
    return receiver->Union(std::move(target), OwnQuilt(std::move(Self)));
  }
  if (auto* field = dynamic_cast<TQuiltField*>(Other.get()); field && field->Field() == Field()) {
    UnionField(*field);
    return Self;
  }
  std::unique_ptr<TQuilt> quilt(AsQuilt().ReleaseOwned());
  Self.reset();
  TQuilt* receiver = quilt.get();
  return receiver->Union(std::move(quilt), std::move(Other));
}

std::unique_ptr<TCommonQuilt> TQuiltField::Subtract(std::unique_ptr<TCommonQuilt> Self,
                                                    platform::TMaybeOwned<TCommonQuilt> Other) {
  platform::Assert(Self.get() == this, "TQuiltField.Subtract: Self is not this object");
  if (auto* field = dynamic_cast<TQuiltField*>(Other.get()); field && field->Field() == Field()) {
    SubtractField(*field);
    return Self;
  }
  std::unique_ptr<TQuilt> quilt(AsQuilt().ReleaseOwned());
  Self.reset();
  TQuilt* receiver = quilt.get();
  return receiver->Subtract(std::move(quilt), std::move(Other));
}

std::unique_ptr<TCommonQuilt> TQuiltField::Intersect(std::unique_ptr<TCommonQuilt> Self,
                                                     platform::TMaybeOwned<TCommonQuilt> Other) {
  platform::Assert(Self.get() == this, "TQuiltField.Intersect: Self is not this object");
  std::unique_ptr<TCommonQuilt> result;
  if (auto* quilt = dynamic_cast<TQuilt*>(Other.get())) {
    std::unique_ptr<TQuilt> target = TakeQuilt(Other, *quilt);
    TQuilt* receiver = target.get();
    result = receiver->Intersect(std::move(target), OwnQuilt(std::move(Self)));
  } else if (auto* patch = dynamic_cast<TQuiltPatch*>(Other.get())) {
    std::unique_ptr<TQuiltPatch> target =
        Other.MustFree() ? std::unique_ptr<TQuiltPatch>(
                               static_cast<TQuiltPatch*>(Other.ReleaseOwned().release()))
                         : patch->Copy();
    TQuiltPatch* receiver = target.get();
    result = receiver->Intersect(std::move(target), OwnQuilt(std::move(Self)));
  } else if (auto* field = dynamic_cast<TQuiltField*>(Other.get());
             field && field->Field() == Field()) {
    IntersectField(*field);
    result = std::move(Self);
  } else {
    std::unique_ptr<TQuilt> quilt(AsQuilt().ReleaseOwned());
    Self.reset();
    TQuilt* receiver = quilt.get();
    result = receiver->Intersect(std::move(quilt), std::move(Other));
  }
  TCommonQuilt* simplifier = result.get();
  return simplifier->Simplify(std::move(result));
}

std::unique_ptr<TCommonQuilt> TQuiltField::CloneQuilt() const {
  return Copy();
}

std::unique_ptr<TCommonQuilt> TQuiltField::Simplify(std::unique_ptr<TCommonQuilt> Self) {
  platform::Assert(Self.get() == this, "TQuiltField.Simplify: Self is not this object");
  return Self;
}

bool TQuiltField::Contains(const TCommonQuilt& Other) const {
  if (auto* field = dynamic_cast<const TQuiltField*>(&Other)) {
    if (field->Field() == Field()) {
      TQuiltRelation relation = FieldRelation(*field);
      return relation == qrEqual || relation == qrContains;
    }
    return IsUniverse(nullptr) || field->IsEmpty(nullptr);
  }
  // Any other shape: decided on the full quilts.
  auto self = AsQuilt();
  bool touch = false;
  auto other = dynamic_cast<const TCustomQuilt&>(Other).AsQuilt();
  return self->QuiltContains(*other, touch, nullptr);
}

void TQuiltField::Clear() {
  TConditionUpdate bracket(*this);
  FValueList.Unrestrict();
}

void TQuiltField::ProjectOn(const TDataFieldSet* FieldSet) {
  // Nothing projects onto nothing: an empty field stays empty.
  if (!TDataFieldSet::Contains(FieldSet, Field()) && !IsEmpty(nullptr)) Clear();
}

bool TQuiltField::IsUniverse(const TDataFieldSet* FieldSet) const {
  if (!Restricted()) return true;
  if (Count() == 0) return false;
  if (FieldSet != nullptr && !FieldSet->Contains(Field())) return true;
  if (Count() != 1) return false;
  const TQuiltValueItem& item = FValueList.Item(0);
  const TDataType& type = FValueList.DataType();
  return PointsEqual(type, item.StartPoint, MinusInfinity()) &&
         PointsEqual(type, item.EndPoint, PlusInfinity());
}

bool TQuiltField::IsEmpty(const TDataFieldSet*) const {
  // What accepts no row accepts none on any set of fields.
  return AcceptsNothing();
}

platform::TMaybeOwned<TQuilt> TQuiltField::AsQuilt() const {
  auto quilt = std::make_unique<TQuilt>();
  auto patch = std::make_unique<TQuiltPatch>();
  patch->InternalAddQuiltField(Copy());
  quilt->AppendPatch(std::move(patch));
  return platform::TMaybeOwned<TQuilt>::Owned(std::move(quilt));
}

}  // namespace dataframework
