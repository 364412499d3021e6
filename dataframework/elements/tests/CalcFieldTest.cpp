// Calculated fields: defaults and published properties, the class
// registrations, computing on data rows and on subtotal rows (summed before
// aggregating, computed from the totals, or empty), writes and their
// distribution, the ready-made constant, header and Boolean text fields,
// fictive keys and closed fields as the rows meet them.
#include <gtest/gtest.h>

#include <algorithm>

#include "dataframework/elements/DataBridge.h"
#include "dataframework/elements/tests/CalcTestSupport.h"
#include "platform/ClassRegistry.h"
#include "platform/DataError.h"
#include "platform/Errors.h"
#include "platform/PropInfo.h"
#include "platform/StringList.h"

namespace dataframework::calctest {
namespace {

// A closed field over a fixed list of closure fields.
class TTestClosedField : public TClosedField {
 public:
  TTestClosedField(std::vector<TDataField*> Closure)
      : TClosedField("CClosed", DoubleType(), true, true), FClosure(std::move(Closure)) {}
  int ClosureFieldCount() const override { return static_cast<int>(FClosure.size()); }
  TDataField* ClosureField(int Index) const override {
    return FClosure[static_cast<size_t>(Index)];
  }
  bool DependsOn(const TDataField* Field) const override {
    return std::find(FClosure.begin(), FClosure.end(), Field) != FClosure.end();
  }

 private:
  std::vector<TDataField*> FClosure;
};

template <typename F>
std::string MessageOf(F&& Action) {
  try {
    Action();
  } catch (const platform::Exception& e) {
    return e.Message();
  }
  return "(no exception)";
}

// ---------------------------------------------------------------- defaults

TEST(CalcFieldDefaults, ConstructorsSetTheCalculatedDefaults) {
  TCalcField owned(nullptr);
  auto named = TCalcField::CreateCalc("CDefNamed", IntegerType(), true, false);
  struct Case {
    const char* Name;
    const TCalcField* Field;
    bool ReadOnly, BeforeAggregating, Aggregable;
  } cases[] = {{"Create", &owned, false, true, false},
               {"CreateCalc", named.get(), true, false, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_FALSE(c.Field->CanGenerateValueSQL());
    EXPECT_FALSE(c.Field->CanGenerateCondSQL());
    EXPECT_TRUE(c.Field->LegalForSubTotals());
    EXPECT_FALSE(c.Field->CalcInTable());
    EXPECT_FALSE(c.Field->IsStored());
    EXPECT_EQ(c.Field->DefaultReadOnly(), c.ReadOnly);
    EXPECT_EQ(c.Field->CalcbeforeAggregating(), c.BeforeAggregating);
    EXPECT_EQ(c.Field->IsAggregable(), c.Aggregable);
  }
  EXPECT_EQ(named->FieldName(), "CDefNamed");
  EXPECT_EQ(FindFieldByName("CDefNamed"), named.get());
}

TEST(CalcFieldDefaults, PublishedPropertiesReadAndWriteByName) {
  TCalcField field(nullptr);
  for (const char* name : {"CanGenerateValueSQL", "CanGenerateCondSQL", "LegalForSubTotals",
                           "CalcInTable", "CalcbeforeAggregating"}) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(platform::IsPublishedProp(field, name));
    const int64_t before = platform::GetOrdProp(field, name);
    platform::SetOrdProp(field, name, 1 - before);
    EXPECT_EQ(platform::GetOrdProp(field, name), 1 - before);
  }
  EXPECT_TRUE(field.CalcInTable());
  EXPECT_FALSE(field.LegalForSubTotals());
  // The data field's properties stay reachable.
  EXPECT_TRUE(platform::IsPublishedProp(field, "FieldName"));
}

// The five published events: listed with their type names, assigned and
// cleared by name, and the assigned handler is the one the field calls.
TEST(CalcFieldDefaults, EventsArePublishedAndWorkWhenAssignedByName) {
  TCalcField field(nullptr);
  TDataBridge bridge(nullptr);
  struct Case {
    const platform::TObject& Instance;
    const char* Name;
    const char* TypeName;
  } cases[] = {{field, "OnCalcValue", "TOnCalcValueEvent"},
               {field, "OnDistributeValue", "TOnDistributeValueEvent"},
               {field, "OnGetValues", "TOnGetValuesEvent"},
               {bridge, "OnReadDbData", "TOnBridgeDataEvent"},
               {bridge, "OnWriteDbData", "TOnBridgeDataEvent"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    ASSERT_TRUE(platform::IsPublishedProp(c.Instance, c.Name));
    const platform::TPropInfo* info = platform::GetPropInfo(c.Instance, c.Name);
    EXPECT_EQ(info->Kind, platform::tkMethod);
    EXPECT_EQ(info->TypeName, c.TypeName);
    EXPECT_FALSE(info->IsReadOnly());
    EXPECT_FALSE(platform::IsAssignedMethodProp(c.Instance, c.Name));  // unset by default
  }

  platform::SetMethodProp(
      field, "OnGetValues",
      TOnGetValuesEvent([](TCalcField*, platform::TStrings* Results, TDataTable*, TAbstractRow*,
                           const TCondition*) { Results->Add("by name"); }));
  EXPECT_TRUE(field.HasCustomValues());
  platform::TStringList results;
  field.GetValues(&results, nullptr, nullptr, nullptr);
  ASSERT_EQ(results.Count(), 1);
  EXPECT_EQ(results[0], "by name");
  platform::ClearMethodProp(field, "OnGetValues");
  EXPECT_FALSE(field.HasCustomValues());

  platform::SetMethodProp(bridge, "OnReadDbData",
                          TOnBridgeDataEvent([](const TDataType*, TValue& Value) {
                            Value.Set<std::int32_t>(Value.Get<std::int32_t>() * 10);
                          }));
  ASSERT_TRUE(bridge.OnReadDbData);
  TValue value;
  value.Set<std::int32_t>(4);
  bridge.OnReadDbData(nullptr, value);
  EXPECT_EQ(value.Get<std::int32_t>(), 40);
  EXPECT_FALSE(bridge.OnWriteDbData);
  // A handler of another event's type is refused and leaves the event unset.
  EXPECT_THROW(platform::SetMethodProp(bridge, "OnWriteDbData", field.OnCalcValue()),
               platform::EPropertyError);
  EXPECT_FALSE(bridge.OnWriteDbData);
}

TEST(CalcFieldDefaults, ModuleRegistersItsClasses) {
  EXPECT_EQ(platform::FindClass("TCalcField"), &TCalcField::StaticClass());
  EXPECT_EQ(platform::FindClass("TFictiveField"), &TFictiveField::StaticClass());
  EXPECT_EQ(platform::FindClass("TClosedField"), &TClosedField::StaticClass());
  struct Case {
    const platform::TClass& Class;
    const char* Parent;
    const char* Unit;
  } cases[] = {{TCalcField::StaticClass(), "TDataField", "CalcField"},
               {TClosedField::StaticClass(), "TCalcField", "CalcField"},
               {TFictiveField::StaticClass(), "TKeyField", "CalcField"},
               {TConstantField::StaticClass(), "TCalcField", "CommonCalcFields"},
               {THeaderField::StaticClass(), "TConstantField", "CommonCalcFields"},
               {TBooleanTextField::StaticClass(), "TCalcField", "CommonCalcFields"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Class.ClassName());
    EXPECT_EQ(c.Class.ClassParent()->ClassName(), c.Parent);
    EXPECT_EQ(c.Class.UnitName(), c.Unit);
  }
}

TEST(CalcFieldDefaults, FictiveFieldIsAReadOnlyKeyReadingThroughItsCalcField) {
  TFictiveField fictive(nullptr);
  EXPECT_TRUE(fictive.DefaultReadOnly());
  EXPECT_EQ(fictive.CalcField(), nullptr);
  EXPECT_FALSE(fictive.IsStored());
  EXPECT_TRUE(fictive.HasCombo());  // a key field's defaults

  TCalcField calc(nullptr);
  platform::SetObjectProp(fictive, "CalcField", &calc);
  EXPECT_EQ(fictive.CalcField(), &calc);
  TDataField plain(nullptr);
  EXPECT_THROW(platform::SetObjectProp(fictive, "CalcField", &plain), platform::EPropertyError);
  EXPECT_EQ(fictive.CalcField(), &calc);
}

TEST(CalcFieldDefaults, AddToListHonoursInclude) {
  TCalcField calc(nullptr);
  TConstantField constant(nullptr);
  TDataField plain(nullptr);
  struct Case {
    const char* Name;
    TDataField* Field;
    bool Include;
    size_t Size;
  } cases[] = {{"calc, not included", &calc, false, 0},
               {"calc, included", &calc, true, 1},
               {"constant, not included", &constant, false, 0},
               {"plain, not included", &plain, false, 1},
               {"plain, included", &plain, true, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    std::vector<TDataField*> list;
    c.Field->AddToList(&list, c.Include);
    ASSERT_EQ(list.size(), c.Size);
    if (c.Size == 1) {
      EXPECT_EQ(list[0], c.Field);
    }
  }
}

TEST(CalcFieldDefaults, HasCustomValuesFollowsOnGetValues) {
  TCalcField calc(nullptr);
  TDataField plain(nullptr);
  EXPECT_FALSE(plain.HasCustomValues());
  EXPECT_FALSE(calc.HasCustomValues());

  platform::TStringList results;
  calc.GetValues(&results, nullptr, nullptr, nullptr);  // no aux table: nothing
  EXPECT_EQ(results.Count(), 0);

  int calls = 0;
  calc.SetOnGetValues([&](TCalcField* Sender, platform::TStrings* Results, TDataTable* Table,
                          TAbstractRow* Row, const TCondition* Condition) {
    ++calls;
    EXPECT_EQ(Sender, &calc);
    EXPECT_EQ(Table, nullptr);
    EXPECT_EQ(Row, nullptr);
    EXPECT_EQ(Condition, nullptr);
    Results->Add("listed");
  });
  EXPECT_TRUE(calc.HasCustomValues());
  calc.GetValues(&results, nullptr, nullptr, nullptr);
  EXPECT_EQ(calls, 1);
  ASSERT_EQ(results.Count(), 1);
  EXPECT_EQ(results[0], "listed");
}

// ---------------------------------------------------------- computing

class CalcFieldTest : public CalcFixture {};

TEST_F(CalcFieldTest, WithoutHandlersComputingAndWritingRaise) {
  TDataRow* row = Put(1, "a", 2);
  ASSERT_NE(row, nullptr);
  TCalcField calc(nullptr);
  EXPECT_EQ(MessageOf([&] { row->ValueOf(&calc); }),
            "TCalcField.CalcValue: Method not implemented!");
  EXPECT_EQ(MessageOf([&] { row->SetFieldValue(&calc, DoubleValue(1)); }),
            "TCalcField.DistributeValue: Method not implemented!");
  // The read-only test comes first: no handler is needed to refuse.
  calc.SetDefaultReadOnly(true);
  EXPECT_EQ(row->SetFieldValue(&calc, DoubleValue(1)), srReadOnly);
  // A data row has no value where the computation fails.
  EXPECT_FALSE(row->FieldHasValue(&calc));
  calc.SetOnCalcValue([](const TCalcField*, const TAbstractRow*) { return DoubleValue(1); });
  EXPECT_TRUE(row->FieldHasValue(&calc));
}

TEST_F(CalcFieldTest, SubtotalOfSquaresSumsChildrenOrComputesFromTotals) {
  // Children with X 2 and 3 under K1 = 1; a calculated X × X, outside the
  // table or computed in it.
  struct Case {
    const char* Name;
    bool InTable;
    bool BeforeAggregating;
    double Subtotal;
  } cases[] = {{"outside, summed", false, true, 13},
               {"outside, from totals", false, false, 25},
               {"in table, summed", true, true, 13},
               {"in table, from totals", true, false, 25}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TCalcField* square = Own(TCalcField::CreateCalc("", DoubleType(), true, c.BeforeAggregating));
    ASSERT_TRUE(square->IsAggregable());
    TDataField* x = X.get();
    square->SetOnCalcValue(
        [x](const TCalcField*, const TAbstractRow* Row) { return SquareOfX(x, Row); });
    Storage.reset();
    if (c.InTable) {
      square->SetCalcInTable(true);
      MakeTable({square});
    } else {
      MakeTable();
    }
    TDataRow* a = Put(1, "a", 2);
    TDataRow* b = Put(1, "b", 3);
    Put(2, "a", 10);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_DOUBLE_EQ(Number(a, square), 4);
    EXPECT_DOUBLE_EQ(Number(b, square), 9);
    TSubTotalRow* sub = SubTotalOf(1);
    ASSERT_NE(sub, nullptr);
    EXPECT_DOUBLE_EQ(Number(sub, X.get()), 5);
    EXPECT_DOUBLE_EQ(Number(sub, square), c.Subtotal);
    // A change below reaches the subtotal: X 3 -> 4 gives 4 + 16 or 6 × 6.
    ASSERT_EQ(b->SetFieldValue(X.get(), DoubleValue(4)), srOk);
    EXPECT_DOUBLE_EQ(Number(sub, square), c.BeforeAggregating ? 20 : 36);
    TearDown();
  }
}

TEST_F(CalcFieldTest, SubtotalRowsByAggregableAndLegalFlags) {
  TDataRow* a = Put(1, "a", 2);
  Put(1, "b", 3);
  ASSERT_NE(a, nullptr);
  TSubTotalRow* sub = SubTotalOf(1);
  ASSERT_NE(sub, nullptr);
  TDataField* x = X.get();
  struct Case {
    const char* Name;
    bool Aggregable, BeforeAggregating, Legal;
    double Subtotal;  // the handler answers 100 on a subtotal row, X on a data row
  } cases[] = {{"aggregable, summed", true, true, true, 5},
               {"aggregable, summed, not legal", true, true, false, 5},
               {"aggregable, from totals", true, false, true, 100},
               {"aggregable, from totals, not legal", true, false, false, 100},
               {"not aggregable, legal", false, true, true, 100},
               {"not aggregable, not legal: empty", false, true, false, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    auto calc = TCalcField::CreateCalc("", DoubleType(), true, c.BeforeAggregating);
    calc->SetIsAggregable(c.Aggregable);
    calc->SetLegalForSubTotals(c.Legal);
    calc->SetOnCalcValue([x](const TCalcField*, const TAbstractRow* Row) {
      return Row->IsSubTotal() ? DoubleValue(100) : Row->ValueOf(x);
    });
    EXPECT_DOUBLE_EQ(Number(a, calc.get()), 2);
    EXPECT_DOUBLE_EQ(Number(sub, calc.get()), c.Subtotal);
    EXPECT_EQ(sub->FieldHasValue(calc.get()), c.Legal);
  }
}

TEST_F(CalcFieldTest, ReadValueComputesOnlyWithCalcInTable) {
  TCalcField* calc = Own(TCalcField::CreateCalc("", DoubleType(), false, true));
  TDataField* x = X.get();
  calc->SetOnCalcValue(
      [x](const TCalcField*, const TAbstractRow* Row) { return SquareOfX(x, Row); });
  Storage.reset();
  MakeTable({calc});
  TDataRow* row = Put(1, "a", 3);
  ASSERT_NE(row, nullptr);
  const int p = Table->IndexOfField(calc);
  ASSERT_GE(p, Table->KeyCount());
  // Listed in the table without CalcInTable: the record holds the value.
  ASSERT_EQ(row->SetFieldValue(calc, DoubleValue(7)), srOk);
  EXPECT_DOUBLE_EQ(ValueAsFloat(row->ValueAt(p)), 7);
  calc->SetCalcInTable(true);
  EXPECT_DOUBLE_EQ(ValueAsFloat(row->ValueAt(p)), 9);
  EXPECT_DOUBLE_EQ(Number(row, calc), 9);
}

TEST_F(CalcFieldTest, WritesAreDistributedUnlessReadOnly) {
  TDataRow* row = Put(1, "a", 3);
  ASSERT_NE(row, nullptr);
  TDataField* x = X.get();
  auto twice = TCalcField::CreateCalc("", DoubleType(), false, true);
  twice->SetOnCalcValue([x](const TCalcField*, const TAbstractRow* Row) {
    return DoubleValue(2 * ValueAsFloat(Row->ValueOf(x)));
  });
  int distributed = 0;
  twice->SetOnDistributeValue([x, &distributed](TCalcField*, TAbstractRow* Row, const TValue& V) {
    ++distributed;
    return Row->SetFieldValue(x, DoubleValue(ValueAsFloat(V) / 2));
  });
  EXPECT_EQ(row->SetFieldValue(twice.get(), DoubleValue(10)), srOk);
  EXPECT_EQ(distributed, 1);
  EXPECT_DOUBLE_EQ(Number(row, X.get()), 5);
  EXPECT_DOUBLE_EQ(Number(row, twice.get()), 10);
  EXPECT_EQ(row->State(), rsInserted);

  twice->SetDefaultReadOnly(true);
  EXPECT_EQ(row->SetFieldValue(twice.get(), DoubleValue(40)), srReadOnly);
  EXPECT_EQ(distributed, 1);
  EXPECT_DOUBLE_EQ(Number(row, X.get()), 5);
}

TEST_F(CalcFieldTest, ACalculatedSortFieldOrdersTheView) {
  // Level K2 sorted by a rank computed from K2 ("b" first, then "c", then
  // "a"); a plain sort field without home table cannot be read at that level.
  TCalcField* rank = Own(TCalcField::CreateCalc("", IntegerType(), true, false));
  TDataField* k2 = K2.get();
  rank->SetOnCalcValue([k2](const TCalcField*, const TAbstractRow* Row) {
    const std::string key = ValueAsString(Row->ValueOf(k2));
    return IntegerValue(key == "b" ? 1 : key == "c" ? 2 : 3);
  });
  TDataField* plain = Own(TDataField::CreateField("", IntegerType()));
  struct Case {
    const char* Name;
    TDataField* SortField;
    bool Checked;
    std::vector<std::string> View;
  } cases[] = {{"calculated", rank, true, {"b", "c", "a"}},
               {"plain, no home table", plain, false, {"a", "b", "c"}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TearDown();
    K2->SetSortField(c.SortField);
    MakeTable();
    for (const char* key : {"a", "b", "c"}) Put(1, key, 1);
    EXPECT_EQ(Storage->CheckTreeOrder(), c.Checked);
    std::vector<std::string> view;
    for (int i = 0; i < Storage->RowCount(); ++i)
      view.push_back(Text(Storage->GetRow(i), K2.get()));
    EXPECT_EQ(view, c.View);
  }
  TearDown();
  K2->SetSortField(nullptr);
}

// ------------------------------------------------------ ready-made fields

TEST_F(CalcFieldTest, ConstantsAnswerTheirValueEverywhereAndRefuseWrites) {
  TDataRow* row = Put(1, "a", 3);
  Put(1, "b", 4);
  ASSERT_NE(row, nullptr);
  auto constant = TConstantField::CreateConst("", IntegerValue(7));
  auto header = THeaderField::CreateHeader("", StringValue("Total"), 3);
  EXPECT_TRUE(constant->IsAggregable());
  EXPECT_TRUE(constant->DefaultReadOnly());
  EXPECT_FALSE(constant->CalcbeforeAggregating());
  EXPECT_EQ(constant->DataType(), IntegerType());
  EXPECT_EQ(header->HeaderLevel(), 3);
  EXPECT_EQ(header->HeaderWord(), 0);
  for (const TAbstractRow* r :
       {static_cast<const TAbstractRow*>(row), static_cast<const TAbstractRow*>(SubTotalOf(1)),
        static_cast<const TAbstractRow*>(Storage->Root())}) {
    EXPECT_EQ(ValueAsInteger(r->ValueOf(constant.get())), 7);
    EXPECT_EQ(Text(r, header.get()), "Total");
  }
  EXPECT_EQ(row->SetFieldValue(constant.get(), IntegerValue(8)), srReadOnly);
  // Even a writable constant refuses: it has nowhere to put the value.
  constant->SetDefaultReadOnly(false);
  EXPECT_EQ(row->SetFieldValue(constant.get(), IntegerValue(8)), srReadOnly);
  EXPECT_EQ(ValueAsInteger(row->ValueOf(constant.get())), 7);

  TConstantField empty(nullptr);
  EXPECT_TRUE(empty.IsAggregable());
  EXPECT_EQ(Text(row, &empty), "");
}

TEST(BooleanTextField, ShowsTrueOrFalseAndSwitchesTheKeyToText) {
  auto k = TKeyField::CreateSimpleKey("BK", IntegerType());
  auto flag = TKeyField::CreateSimpleKey("BFlag", BooleanType());
  auto plainFlag = TDataField::CreateField("BPlain", BooleanType());
  ASSERT_EQ(flag->EffectiveDisplayValues(), dvKeyOnly);
  auto text = TBooleanTextField::CreateBoolText("BText", flag.get());
  auto plainText = TBooleanTextField::CreateBoolText("BPlainText", plainFlag.get());
  EXPECT_EQ(flag->DisplayValues(), dvTextOnly);
  EXPECT_EQ(flag->CurrentTextField(), text.get());
  EXPECT_EQ(flag->EffectiveDisplayValues(), dvTextOnly);
  EXPECT_EQ(plainFlag->CurrentTextField(), plainText.get());
  EXPECT_EQ(text->DataType(), StringType(5, false));
  EXPECT_TRUE(text->DefaultReadOnly());

  auto table =
      TDataTable::CreateTable("BoolT", nullptr, {k.get(), flag.get()}, {plainFlag.get()}, nullptr);
  for (bool value : {true, false}) {
    SCOPED_TRACE(value);
    auto row = TDataRow::CreateFromDefaults(table.get());
    row->SetFieldValue(flag.get(), BooleanValue(value));
    row->SetFieldValue(plainFlag.get(), BooleanValue(!value));
    const std::string expected = value ? "True" : "False";
    EXPECT_EQ(ValueAsString(row->ValueOf(text.get())), expected);
    EXPECT_EQ(ValueAsString(row->ValueOf(plainText.get())), value ? "False" : "True");
    EXPECT_EQ(row->ValueOf(text.get()).DataType, StringType(5, false));
    // The key shows as the text; with key and text both appear.
    std::string shown;
    row->GetDisplayText(flag.get(), dvDefault, shown);
    EXPECT_EQ(shown, expected);
    row->GetDisplayText(flag.get(), dvKeyAndText, shown);
    EXPECT_EQ(shown, ValueAsString(BooleanValue(value)) + " " + expected);
    EXPECT_EQ(row->SetFieldValue(text.get(), StringValue("x")), srReadOnly);
  }
  table.reset();
}

// ------------------------------------------------ fictive and closed fields

TEST_F(CalcFieldTest, FictiveKeyReadsThroughItsCalcFieldAndWarnsOnWrites) {
  TCalcField* calc = Own(TCalcField::CreateCalc("", IntegerType(), true, false));
  TDataField* k1 = K1.get();
  calc->SetOnCalcValue([k1](const TCalcField*, const TAbstractRow* Row) {
    return IntegerValue(10 * ValueAsInteger(Row->ValueOf(k1)));
  });
  TFictiveField* fictive = Own(TFictiveField::CreateFictive("CFict", IntegerType(), calc));
  Storage.reset();
  Table = TDataTable::CreateTable("FictT", nullptr, {K1.get(), fictive}, {X.get()}, nullptr);
  Storage = std::make_unique<TRowStorage>(Table.get());
  auto made = Storage->CreateRow();
  made->SetFieldValue(K1.get(), IntegerValue(4));
  made->SetFieldValue(X.get(), DoubleValue(1));
  TDataRow* row = made.get();
  ASSERT_EQ(Storage->PutNewRow(made, paRefuse), prOk);

  const int p = Table->IndexOfField(fictive);
  EXPECT_EQ(ValueAsInteger(row->ValueOf(fictive)), 40);
  EXPECT_EQ(ValueAsInteger(row->ValueAt(p)), 40);
  // The tree files the row under the computed key.
  EXPECT_EQ(Storage->LocateRow({"4", "40"}), row);
  EXPECT_EQ(Storage->LocateRow({"4", "0"}), nullptr);

  platform::TDataErrorCapture capture;
  row->SetFieldValue(fictive, IntegerValue(40));
  ASSERT_EQ(capture.Warnings().size(), 1u);
  EXPECT_EQ(capture.Warnings()[0].Context, "FictiveField");
  EXPECT_EQ(capture.Warnings()[0].Message, "Assignment to fictive fields are not allowed");
  EXPECT_EQ(ValueAsInteger(row->ValueOf(fictive)), 40);
}

TEST_F(CalcFieldTest, ClosedFieldsHaveValuesOnSubtotalsWhenTheirClosureDoes) {
  Put(1, "a", 2, "n");
  Put(1, "b", 3, "n");
  TSubTotalRow* sub = SubTotalOf(1);
  ASSERT_NE(sub, nullptr);
  struct Case {
    const char* Name;
    std::vector<TDataField*> Closure;
    bool HasValue;
  } cases[] = {{"aggregable field", {X.get()}, true},
               {"shown key", {K1.get()}, true},
               {"key of a lower level", {K2.get()}, false},
               {"non-aggregable field", {X.get(), N.get()}, false},
               {"no closure fields", {}, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TTestClosedField closed(c.Closure);
    closed.SetLegalForSubTotals(!c.HasValue);  // the closure decides, not the flag
    EXPECT_EQ(sub->FieldHasValue(&closed), c.HasValue);
  }
}

}  // namespace
}  // namespace dataframework::calctest
