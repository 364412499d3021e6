// Rows on their own and in a storage: the value record, writes and states,
// long texts, copies, merging, comparison and key display.
#include <gtest/gtest.h>

#include "dataframework/elements/RowSortOrder.h"
#include "dataframework/elements/tests/RowsFixture.h"
#include "platform/Errors.h"

namespace dataframework::rowstest {
namespace {

using platform::TDataErrorCapture;

// ---------------------------------------------------------- construction

TEST_F(RowsFixture, NewRowsStartFromTheDefaults) {
  A->SetDefaultValue(DoubleValue(2.5));
  N->SetDefaultValue(StringValue("dflt"));
  std::unique_ptr<TDataRow> made = TDataRow::Create(Table.get());
  std::unique_ptr<TDataRow> copied = TDataRow::CreateFromDefaults(Table.get());
  EXPECT_DOUBLE_EQ(Num(made.get(), A.get()), 2.5) << "Create writes the fields' defaults";
  EXPECT_EQ(Text(made.get(), N.get()), "dflt");
  // The table's default row was made before the defaults changed.
  EXPECT_DOUBLE_EQ(Num(copied.get(), A.get()), 0);
  EXPECT_EQ(Text(copied.get(), N.get()), "");
  for (TDataRow* row : {made.get(), copied.get()}) {
    EXPECT_EQ(row->State(), rsExternControlled);
    EXPECT_TRUE(row->Visible());
    EXPECT_EQ(row->Storage(), nullptr);
    EXPECT_EQ(row->Parent(), nullptr);
    EXPECT_EQ(row->Texts(), nullptr);
    EXPECT_EQ(row->KeyLevelCount(), 2);
  }
  EXPECT_THROW(TDataRow::CreateFromDefaults(nullptr), platform::EAssertionFailed);
}

// ---------------------------------------------------------- writes, states

struct WriteCase {
  const char* Name;
  TRowState Start;
  bool Stored;  // the row sits in the storage (else a free row)
  double NewA;  // the row holds RA = 1
  TSetResult Result;
  TRowState End;
};

class RowWriteTest : public RowsFixture, public ::testing::WithParamInterface<WriteCase> {};

TEST_P(RowWriteTest, PlainWriteResultAndState) {
  const WriteCase& c = GetParam();
  std::unique_ptr<TDataRow> free;
  TDataRow* row;
  if (c.Stored) {
    row = Put(1, "a", 1, 0, "", c.Start);
  } else {
    free = MakeRow(1, "a", 1);
    free->SetState(c.Start);
    row = free.get();
  }
  EXPECT_EQ(row->SetFieldValue(A.get(), DoubleValue(c.NewA)), c.Result);
  EXPECT_EQ(row->State(), c.End);
  EXPECT_DOUBLE_EQ(Num(row, A.get()), c.NewA);
  if (c.Stored) {
    EXPECT_DOUBLE_EQ(Num(Storage->Root(), A.get()), c.NewA) << "the parents were marked dirty";
  }
}

INSTANTIATE_TEST_SUITE_P(
    States, RowWriteTest,
    ::testing::Values(WriteCase{"FreeSame", rsExternControlled, false, 1, srOk, rsExternControlled},
                      WriteCase{"FreeOther", rsExternControlled, false, 3, srOk,
                                rsExternControlled},
                      WriteCase{"LoadedSame", rsUnchanged, true, 1, srOk, rsUnchanged},
                      WriteCase{"LoadedOther", rsUnchanged, true, 3, srOk, rsModified},
                      WriteCase{"ModifiedOther", rsModified, true, 4, srOk, rsModified},
                      WriteCase{"InsertedOther", rsInserted, true, 5, srOk, rsInserted}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(RowsFixture, WriteOfAnUnconvertibleValueIsInvalidAndChangesNothing) {
  TDataRow* row = Put(1, "a", 1, 0, "", rsUnchanged);
  const TValue before = row->ValueOf(K1.get());
  EXPECT_EQ(row->SetFieldValue(A.get(), StringValue("many")), srInvalidValue);
  EXPECT_EQ(row->SetFieldValue(K1.get(), StringValue("many")), srInvalidValue);
  EXPECT_DOUBLE_EQ(Num(row, A.get()), 1);
  EXPECT_EQ(ValueAsInteger(row->ValueOf(K1.get())), ValueAsInteger(before));
  EXPECT_EQ(row->State(), rsUnchanged);
  EXPECT_EQ(row->LockCount(), 0);
  EXPECT_EQ(Find(1, "a"), row) << "the row keeps its place in the tree";
  ExpectTotalsRight();
}

TEST_F(RowsFixture, WriteChecksIndexAndField) {
  std::unique_ptr<TDataRow> row = MakeRow(1, "a", 1);
  EXPECT_THROW(row->SetIndexValue(Table->FieldCount(), DoubleValue(1)), platform::EAssertionFailed);
  EXPECT_THROW(row->SetIndexValue(-1, DoubleValue(1)), platform::EAssertionFailed);
  EXPECT_THROW(row->SetFieldValue(nullptr, DoubleValue(1)), platform::EAssertionFailed);
  // A field the table lacks cannot be written through a plain row.
  std::unique_ptr<TDataField> other = TDataField::CreateField("ROther", DoubleType());
  EXPECT_THROW(row->SetFieldValue(other.get(), DoubleValue(1)), platform::Exception);
}

TEST_F(RowsFixture, TypedWritersAndReaders) {
  std::unique_ptr<TDataRow> row = MakeRow(1, "a", 1);
  EXPECT_EQ(row->SetFStringValue(N.get(), "word"), srOk);
  EXPECT_EQ(row->SetFStringValue(K1.get(), "42"), srOk);
  EXPECT_EQ(row->GetFStringValue(N.get()), "word");
  EXPECT_EQ(row->GetFIntegerValue(K1.get()), 42);
  EXPECT_EQ(row->SetFBooleanValue(N.get(), true), srOk);
  EXPECT_TRUE(row->GetFBooleanValue(N.get()));
  EXPECT_THROW(row->SetFStringValue(nullptr, "x"), platform::EAssertionFailed);
  EXPECT_THROW(row->SetFBooleanValue(nullptr, true), platform::EAssertionFailed);
  EXPECT_THROW(row->SetFPointerValue(nullptr, nullptr), platform::EAssertionFailed);
}

TEST_F(RowsFixture, SetVisibleTellsTheStorageOnlyOfChanges) {
  TDataRow* row = Put(1, "a", 1);
  Storage->RowCount();  // a valid view
  ASSERT_TRUE(Storage->ViewValid());
  row->SetVisible(true);
  EXPECT_TRUE(Storage->ViewValid()) << "no change, no notification";
  row->SetVisible(false);
  EXPECT_FALSE(row->Visible());
  EXPECT_FALSE(Storage->ViewValid());
  EXPECT_EQ(Storage->RowCount(), 0);
}

// ---------------------------------------------------------- long texts

TEST_F(RowsFixture, LongTextsLiveInTheTextsListByPosition) {
  const int memo = Table->IndexOfField(M.get());
  const std::string longText(300, 'x');
  std::unique_ptr<TDataRow> row = MakeRow(1, "a", 1);
  row->SetFieldValue(M.get(), StringValue("short"));
  EXPECT_EQ(row->Texts(), nullptr) << "a short text stays in the record";
  row->SetFieldValue(M.get(), StringValue(longText));
  ASSERT_NE(row->Texts(), nullptr);
  EXPECT_EQ(row->Texts()->Count(), memo + 1) << "padded up to the position";
  EXPECT_EQ(row->Texts()->Get(memo), longText);
  EXPECT_EQ(Text(row.get(), M.get()), longText);

  std::unique_ptr<TDataRow> clone = row->Clone();
  EXPECT_EQ(Text(clone.get(), M.get()), longText) << "copies carry the long texts";
  row->SetFieldValue(M.get(), StringValue("short again"));
  EXPECT_EQ(Text(row.get(), M.get()), "short again");
  EXPECT_EQ(Text(clone.get(), M.get()), longText) << "the copy has a list of its own";

  // Copying a row without long texts drops the own list.
  std::unique_ptr<TDataRow> plain = MakeRow(2, "b", 2);
  clone->CopyContents(plain.get());
  EXPECT_EQ(clone->Texts(), nullptr);
  EXPECT_EQ(Text(clone.get(), M.get()), "");
}

// ---------------------------------------------------------- copies

TEST_F(RowsFixture, CopyContentsRefusals) {
  std::unique_ptr<TDataField> other = TDataField::CreateField("ROtherF", DoubleType());
  std::unique_ptr<TDataTable> otherTable =
      TDataTable::CreateTable("RowsOther", nullptr, {K1.get()}, {other.get()}, nullptr);
  std::unique_ptr<TDataRow> foreign = TDataRow::CreateFromDefaults(otherTable.get());
  std::unique_ptr<TDataRow> free = MakeRow(1, "a", 1);
  TDataRow* stored = Put(2, "b", 2);

  struct Case {
    const char* Name;
    TDataRow* Target;
    const TAbstractRow* Source;
    const char* Message;
  } cases[] = {
      {"stored target", stored, free.get(),
       "Row must be rsExternControlled in order to perform CopyContents!"},
      {"other table", free.get(), foreign.get(), "Tried to copy rows of different type!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TDataErrorCapture capture;
    const double before = Num(c.Target, A.get());
    try {
      c.Target->CopyContents(c.Source);
      ADD_FAILURE() << "no error";
    } catch (const platform::Exception& e) {
      EXPECT_STREQ(e.what(), c.Message);
    }
    ASSERT_EQ(capture.Entries().size(), 1u);
    EXPECT_EQ(capture.Entries()[0].Context, "CopyRow");
    EXPECT_DOUBLE_EQ(Num(c.Target, A.get()), before);
  }
  EXPECT_THROW(free->CopyContents(nullptr), platform::EAssertionFailed);
}

TEST_F(RowsFixture, SetDefaultsFromWritesWhatTheSourceShows) {
  std::unique_ptr<TDataRow> source = MakeRow(7, "s", 3, 4, "src");
  std::unique_ptr<TDataRow> row = MakeRow(1, "a", 1);
  row->SetDefaultsFrom(source.get());
  EXPECT_EQ(row->GetFIntegerValue(K1.get()), 7);
  EXPECT_EQ(Text(row.get(), N.get()), "src");
  EXPECT_DOUBLE_EQ(Num(row.get(), B.get()), 4);

  TDataRow* stored = Put(2, "b", 2);
  TDataErrorCapture capture;
  stored->SetDefaultsFrom(Storage->Root());  // a subtotal shows RA and RB, not the keys
  ASSERT_EQ(capture.Warnings().size(), 1u);
  EXPECT_EQ(capture.Warnings()[0].Message,
            "SetDefaultsFrom called with nonExternControlled DataRow!");
  EXPECT_EQ(stored->GetFIntegerValue(K1.get()), 2) << "a key the source does not show stays";
  EXPECT_THROW(row->SetDefaultsFrom(nullptr), platform::EAssertionFailed);
}

// ---------------------------------------------------------- AddValues

struct AddCase {
  int Mode;
  const char* OwnN;
  const char* SourceN;
  double A;  // own 1 + source 2 unless mode 4
  const char* N;
};

class AddValuesTest : public RowsFixture, public ::testing::WithParamInterface<AddCase> {};

TEST_P(AddValuesTest, MergesByMode) {
  const AddCase& c = GetParam();
  std::unique_ptr<TDataRow> own = MakeRow(1, "a", 1, 10, c.OwnN);
  std::unique_ptr<TDataRow> source = MakeRow(9, "z", 2, 20, c.SourceN);
  own->AddValues(source.get(), c.Mode);
  EXPECT_DOUBLE_EQ(Num(own.get(), A.get()), c.A);
  EXPECT_EQ(Text(own.get(), N.get()), c.N);
  EXPECT_EQ(own->GetFIntegerValue(K1.get()), 1) << "keys never merge";
}

INSTANTIATE_TEST_SUITE_P(
    Modes, AddValuesTest,
    ::testing::Values(AddCase{0, "x", "x", 3, "x"}, AddCase{1, "x", "y", 3, "x"},
                      AddCase{2, "", "y", 3, "y"}, AddCase{2, "x", "y", 3, "x"},
                      AddCase{3, "x", "y", 3, "y"}, AddCase{4, "x", "y", 2, "y"}));

TEST_F(RowsFixture, AddValuesStrictRefusesDifferentNonAggregables) {
  std::unique_ptr<TDataRow> own = MakeRow(1, "a", 1, 10, "x");
  std::unique_ptr<TDataRow> source = MakeRow(1, "a", 2, 20, "y");
  TDataErrorCapture capture;
  try {
    own->AddValues(source.get(), 0);
    ADD_FAILURE() << "no error";
  } catch (const platform::Exception& e) {
    EXPECT_STREQ(e.what(), "AddValues: Different nonaggregable values in rows");
  }
  EXPECT_DOUBLE_EQ(Num(own.get(), A.get()), 1) << "nothing changed";
  EXPECT_DOUBLE_EQ(Num(own.get(), B.get()), 10);
  EXPECT_THROW(own->AddValues(nullptr, 1), platform::EAssertionFailed);
}

// ---------------------------------------------------------- comparison

TEST_F(RowsFixture, CompareFollowsTheRulesInOrder) {
  std::unique_ptr<TDataRow> r1 = MakeRow(1, "a", 5);
  std::unique_ptr<TDataRow> r2 = MakeRow(1, "b", 3);
  // A field the rows cannot read: no home table, so the lookup fails.
  std::unique_ptr<TDataField> unreadable = TDataField::CreateField("RUnread", DoubleType());
  struct Case {
    const char* Name;
    std::vector<std::pair<TDataField*, TSortOrder>> Rules;
    int Sign;  // of r1 against r2
  } cases[] = {
      {"first rule ties, second decides", {{K1.get(), soAscending}, {K2.get(), soAscending}}, -1},
      {"descending negates", {{K2.get(), soDescending}}, 1},
      {"first deciding rule wins", {{A.get(), soAscending}, {K2.get(), soAscending}}, 1},
      {"unreadable rule is skipped",
       {{unreadable.get(), soAscending}, {A.get(), soDescending}},
       -1},
      {"all tie", {{K1.get(), soAscending}}, 0},
      {"no rules", {}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TRowSortOrder order;
    for (const auto& [field, direction] : c.Rules) order.Add(field, direction);
    TDataErrorCapture quiet;
    const int c12 = r1->Compare(r2.get(), &order);
    const int c21 = r2->Compare(r1.get(), &order);
    EXPECT_EQ((c12 > 0) - (c12 < 0), c.Sign);
    EXPECT_EQ((c21 > 0) - (c21 < 0), -c.Sign);
  }
  TRowSortOrder order;
  EXPECT_THROW(r1->Compare(nullptr, &order), platform::EAssertionFailed);
}

TEST_F(RowsFixture, IndexEqualByTheFieldsType) {
  std::unique_ptr<TDataRow> r1 = MakeRow(1, "a", 5, 0, "x");
  std::unique_ptr<TDataRow> r2 = MakeRow(2, "a", 5, 0, "X");
  EXPECT_FALSE(r1->IndexEqual(0, r2.get()));
  EXPECT_TRUE(r1->IndexEqual(1, r2.get()));
  EXPECT_TRUE(r1->IndexEqual(Table->IndexOfField(A.get()), r2.get()));
  EXPECT_FALSE(r1->IndexEqual(Table->IndexOfField(N.get()), r2.get())) << "case counts";
  EXPECT_THROW(r1->IndexEqual(Table->FieldCount(), r2.get()), platform::EAssertionFailed);
  EXPECT_THROW(r1->IndexEqual(0, nullptr), platform::EAssertionFailed);
}

// ---------------------------------------------------------- key display

TEST_F(RowsFixture, KeyDescriptionListsTheKeyLevels) {
  std::unique_ptr<TDataRow> free = MakeRow(1, "it's", 5);
  EXPECT_EQ(free->KeyDescription(), "RK1=1, RK2='it''s'");
  TDataRow* stored = Put(2, "b", 5);
  EXPECT_EQ(stored->KeyDescription(), "RK1=2, RK2='b'");
  EXPECT_EQ(Sub(2)->KeyDescription(), "RK1=2") << "a subtotal row shows its levels only";
  EXPECT_EQ(Storage->Root()->KeyDescription(), "");
  std::unique_ptr<TDataTable> onlyK2 =
      TDataTable::CreateTable("RowsK2", nullptr, {K2.get()}, {}, nullptr);
  EXPECT_EQ(stored->KeyDescription(onlyK2.get()), "RK2='b'");
}

// A key with a descriptive text field; the text lives in the row's own table
// or in the key's aux table.
class DisplayTest : public RowsFixture {
 protected:
  std::unique_ptr<TDataField> Name = TDataField::CreateField("RName", StringType(20, true));
  std::unique_ptr<TKeyField> Code =
      TKeyField::CreateKey("RCode", IntegerType(), {Name.get()}, dvKeyAndText, true, -1, nullptr);
  std::unique_ptr<TDataTable> Codes;  // RCode -> RName, the aux table
  std::unique_ptr<TDataTable> Uses;   // rows that carry RCode only
  void SetUp() override {
    RowsFixture::SetUp();
    Codes = TDataTable::CreateTable("RowsCodes", nullptr, {Code.get()}, {Name.get()}, nullptr);
    Uses = TDataTable::CreateTable("RowsUses", nullptr, {K1.get()}, {Code.get()}, nullptr);
  }
  void TearDown() override {
    Code->SetAuxTable(nullptr);
    Uses.reset();
    Codes.reset();
    RowsFixture::TearDown();
  }
  std::unique_ptr<TDataRow> CodeRow(int code, const std::string& name) {
    std::unique_ptr<TDataRow> row = TDataRow::CreateFromDefaults(Codes.get());
    row->SetFieldValue(Code.get(), IntegerValue(code));
    row->SetFieldValue(Name.get(), StringValue(name));
    return row;
  }
  std::string Display(const TAbstractRow* row, TDisplayValues dv) {
    std::string text;
    row->GetDisplayText(Code.get(), dv, text);
    return text;
  }
};

TEST_F(DisplayTest, TextFromTheRowItself) {
  std::unique_ptr<TDataRow> row = CodeRow(7, "Seven ");
  EXPECT_EQ(Display(row.get(), dvKeyAndText), "7") << "a key without aux table has no text row";
  Code->SetAuxTable(Codes.get());
  struct Case {
    TDisplayValues Dv;
    const char* Text;
  } cases[] = {{dvKeyAndText, "7 Seven"},
               {dvTextOnly, "Seven "},
               {dvKeyOnly, "7"},
               {dvDefault, "7 Seven"}};  // the key's own setting
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Dv);
    EXPECT_EQ(Display(row.get(), c.Dv), c.Text);
  }
  std::string text;
  row->GetKeyAndDescription(Code.get(), nullptr, text);
  EXPECT_EQ(text, "7");
  EXPECT_THROW(row->GetKeyAndDescription(nullptr, Name.get(), text), platform::EAssertionFailed);
}

TEST_F(DisplayTest, TextFromTheAuxTablesCache) {
  Code->SetAuxTable(Codes.get());
  std::unique_ptr<TDataRow> seven = CodeRow(7, "Seven");
  ASSERT_EQ(Codes->CacheStorage()->PutNewRow(seven, paRefuse), prOk);
  std::unique_ptr<TDataRow> use = TDataRow::CreateFromDefaults(Uses.get());
  use->SetFieldValue(Code.get(), IntegerValue(7));
  EXPECT_EQ(Display(use.get(), dvKeyAndText), "7 Seven");
  EXPECT_EQ(Display(use.get(), dvTextOnly), "Seven");
  bool found = false;
  EXPECT_NE(use->FindTextRow(Code.get(), Name.get(), found), nullptr);
  EXPECT_TRUE(found);

  use->SetFieldValue(Code.get(), IntegerValue(8));  // no such code
  EXPECT_EQ(Display(use.get(), dvKeyAndText), "8");
  EXPECT_EQ(Display(use.get(), dvTextOnly), "8") << "the key stands in for a missing text";
  EXPECT_EQ(use->FindTextRow(Code.get(), Name.get(), found), nullptr);
  EXPECT_TRUE(found) << "the text field's home table is not the aux table";
  Name->SetHomeTable(Codes.get());
  use->FindTextRow(Code.get(), Name.get(), found);
  EXPECT_FALSE(found);
  Name->SetHomeTable(nullptr);
}

TEST_F(DisplayTest, LookupFindsTheRowHoldingTheField) {
  Code->SetAuxTable(Codes.get());
  std::unique_ptr<TDataRow> seven = CodeRow(7, "Seven");
  TDataRow* stored = seven.get();
  ASSERT_EQ(Codes->CacheStorage()->PutNewRow(seven, paRefuse), prOk);
  std::unique_ptr<TDataRow> use = TDataRow::CreateFromDefaults(Uses.get());
  use->SetFieldValue(Code.get(), IntegerValue(7));

  TDataField* field = Name.get();
  {
    TDataErrorCapture capture;
    EXPECT_THROW(use->Lookup(field), platform::Exception) << "no home table";
    ASSERT_EQ(capture.Entries().size(), 1u);
    EXPECT_EQ(capture.Entries()[0].Message,
              "Not enough info on field to perform lookup! Row: RowsUsesRow, Field: RName");
  }
  Name->SetHomeTable(Codes.get());
  EXPECT_EQ(use->Lookup(field), stored);
  EXPECT_EQ(field, Name.get());
  use->SetFieldValue(Code.get(), IntegerValue(8));
  EXPECT_EQ(use->Lookup(field), nullptr);
  Name->SetHomeTable(nullptr);

  // A field whose aux table is the row's own table resolves to its key.
  std::unique_ptr<TDataRow> own = CodeRow(3, "Three");
  TDataField* code = Code.get();
  EXPECT_EQ(own->Lookup(code), own.get());
  EXPECT_EQ(code, Code.get());
}

}  // namespace
}  // namespace dataframework::rowstest
