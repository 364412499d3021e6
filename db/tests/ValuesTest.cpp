// Values, parameter lists and in-memory data sets.
#include <gtest/gtest.h>

#include "db/Errors.h"
#include "db/MemDataSet.h"
#include "db/Params.h"

namespace db {
namespace {

TEST(VariantTest, NullAndConversions) {
  const TVariant null;
  EXPECT_EQ(VarToStr(null), "");
  EXPECT_EQ(VarToInt(null), 0);
  EXPECT_EQ(VarToFloat(null), 0.0);
  EXPECT_EQ(VarToDateTime(null), 0.0);

  EXPECT_EQ(VarToInt(TVariant(std::string(" 42"))), 42);
  EXPECT_EQ(VarToInt(TVariant(std::string("$FF"))), 255);
  EXPECT_EQ(VarToInt64(TVariant(std::string("9000000000"))), 9000000000LL);
  EXPECT_EQ(VarToInt(TVariant(2.5)), 3);
  EXPECT_EQ(VarToStr(TVariant(0.25)), "0.25");
  EXPECT_EQ(VarToStr(TVariant(int64_t{-7})), "-7");
  EXPECT_DOUBLE_EQ(VarToFloat(TVariant(std::string("1.5e3"))), 1500.0);
  EXPECT_THROW(VarToInt(TVariant(std::string("12x"))), platform::EConvertError);
  EXPECT_THROW(VarToInt(TVariant(int64_t{1} << 40)), platform::EConvertError);
  EXPECT_THROW(VarToFloat(TVariant(std::string("abc"))), platform::EConvertError);
  try {
    VarToInt(TVariant(std::string("abc")));
  } catch (const platform::EConvertError& e) {
    EXPECT_EQ(e.Message(), "'abc' is not a valid integer value");
  }
}

TEST(VariantTest, DateTimeIsDaysSinceTheEndOf1899) {
  const struct {
    int y, mo, d, h, mi;
    double days;
  } cases[] = {
      {1899, 12, 30, 0, 0, 0.0},  {1900, 1, 1, 0, 0, 2.0},         {2024, 2, 29, 12, 0, 45351.5},
      {1899, 12, 29, 0, 0, -1.0}, {2000, 1, 1, 18, 0, 36526.75},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(EncodeDateTime(c.y, c.mo, c.d, c.h, c.mi, 0), c.days);
    int y, mo, d, h, mi;
    double s;
    DecodeDateTime(c.days, y, mo, d, h, mi, s);
    EXPECT_EQ(std::tie(y, mo, d, h, mi), std::tie(c.y, c.mo, c.d, c.h, c.mi)) << c.days;
  }
  EXPECT_DOUBLE_EQ(VarToDateTime(TVariant(std::string("2024-02-29 12:00:00"))), 45351.5);
  EXPECT_DOUBLE_EQ(VarToDateTime(TVariant(std::string("2024-02-29T12:00:00.5"))),
                   45351.5 + 0.5 / 86400);
  EXPECT_EQ(DateTimeToText(45351.5 + 0.5 / 86400), "2024-02-29 12:00:00.500");
  EXPECT_THROW(VarToDateTime(TVariant(std::string("yesterday"))), platform::EConvertError);
  EXPECT_THROW(VarToDateTime(TVariant(std::string("2024-13-01"))), platform::EConvertError);
}

TEST(ParamsTest, LookUpIgnoresCaseFirstMatchWinsAndSettersSetTheType) {
  TParams params;
  params.CreateParam(ftInteger, "i_id");
  params.CreateParam(ftString, "I_ID");
  EXPECT_EQ(&params.ParamByName("I_Id"), &params[0]);
  EXPECT_EQ(params.FindParam("missing"), nullptr);
  try {
    params.ParamByName("missing");
    ADD_FAILURE();
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Parameter 'missing' not found");
  }
  TParam& p = params[0];
  EXPECT_TRUE(p.IsNull());
  p.SetAsString("12");
  EXPECT_EQ(p.DataType(), ftString);
  EXPECT_EQ(p.AsInteger(), 12);
  p.SetAsInteger(5);
  EXPECT_EQ(p.DataType(), ftInteger);
  EXPECT_EQ(p.AsString(), "5");
  p.Clear();
  EXPECT_TRUE(p.IsNull());
  EXPECT_EQ(p.DataType(), ftInteger);
  EXPECT_EQ(static_cast<int>(ftOraClob), 31);
}

TEST(MemDataSetTest, CopiesStructureAndRecordsAndReadsCaseInsensitively) {
  TMemDataSet source;
  source.DefineField("Name", ftString, 20);
  source.DefineField("NAME", ftInteger);
  TMemDataSet empty;
  empty.LoadFromDataSet(source);
  EXPECT_TRUE(empty.IsEmpty());
  EXPECT_TRUE(empty.Eof());
  EXPECT_EQ(empty.FieldByName("name").AsString(), "");  // no current record
  EXPECT_THROW(empty.FieldByName("name").SetAsString("x"), EDatabaseError);
  try {
    empty.FieldByName("nope");
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Field 'nope' not found");
  }

  // A data set with records to copy: an engine-less subclass fills one.
  struct TFilled : TDataSet {
    TFilled() {
      AddField("Id", ftInteger, 0);
      AddField("Note", ftString, 10);
      AppendRecord({TVariant(int32_t{1}), TVariant(std::string("a"))});
      AppendRecord({TVariant(int32_t{2}), TVariant()});
      SetActive(true);
    }
  } filled;
  TMemDataSet copy;
  copy.LoadFromDataSet(filled);
  ASSERT_EQ(copy.FieldCount(), 2);
  ASSERT_EQ(copy.RecordCount(), 2);
  EXPECT_EQ(copy.Fields(1).Size(), 10);
  EXPECT_EQ(copy.FieldByName("id").AsInteger(), 1);
  copy.Next();
  EXPECT_TRUE(copy.FieldByName("NOTE").IsNull());
  copy.FieldByName("note").SetAsString("edited");
  EXPECT_EQ(copy.FieldByName("note").AsString(), "edited");
  EXPECT_TRUE(filled.RecordValue(1, 1).index() == 0);

  // Declared fields pick their columns by name.
  TMemDataSet picked;
  picked.DefineField("note", ftString);
  picked.LoadFromDataSet(filled);
  EXPECT_EQ(picked.FieldCount(), 1);
  EXPECT_EQ(picked.Fields(0).AsString(), "a");
}

}  // namespace
}  // namespace db
