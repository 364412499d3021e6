// TStringType, TMemoType and TBooleanType.

#include <gtest/gtest.h>

#include <map>

#include "dataframework/types/DataType.h"

namespace dataframework {
namespace {

TValue Str(const TStringType* type, const std::string& text) {
  TValue v;
  type->StringToValue(text, v);
  return v;
}

TEST(StringType, ValuesAreCutToTheSizeUnlessSizeIsZero) {
  EXPECT_EQ(ValueAsString(Str(StringType(3, true), "abcdef")), "abc");
  EXPECT_EQ(ValueAsString(Str(StringType(0, true), "abcdef")), "abcdef");
  EXPECT_EQ(ValueAsString(Str(MemoType(), std::string(100000, 'm'))).size(), 100000u);
  TValue sum;
  StringType(3, true)->Sum(StringValue("ab"), StringValue("cd"), sum);
  EXPECT_EQ(ValueAsString(sum), "abc");
  EXPECT_EQ(sum.DataType, StringType(3, true));
}

TEST(StringType, CompareAndEqualsFollowTheCaseRule) {
  const TStringType* ci = StringType(5, false);
  const TStringType* cs = StringType(5, true);
  EXPECT_EQ(ci->Compare(Str(ci, "Abc"), Str(ci, "abc")), 0);
  EXPECT_FALSE(ci->Equals(Str(ci, "Abc"), Str(ci, "abc")));
  EXPECT_LT(cs->Compare(Str(cs, "B"), Str(cs, "a")), 0);  // character codes
  EXPECT_GT(ci->Compare(Str(ci, "B"), Str(ci, "a")), 0);
  // Foreign values are read as text: the integer 10 sorts before the text 9.
  EXPECT_LT(cs->Compare(IntegerValue(10), StringValue("9")), 0);
}

TEST(StringType, SqlLiteralsQuoteAndCut) {
  const TStringType* t10 = StringType(10, true);
  EXPECT_EQ(t10->SqlValue(Str(t10, "O'Neil")), "'O''Neil'");
  EXPECT_TRUE(t10->IsComplexValue(Str(t10, "O'Neil")));
  EXPECT_FALSE(t10->IsComplexValue(Str(t10, "Neil")));
  EXPECT_EQ(StringType(3, true)->SqlValue(StringValue("abcdef")), "'abc'");
  // Size 0 limits nothing, so the literal keeps the whole text.
  EXPECT_EQ(StringType(0, true)->SqlValue(Str(StringType(0, true), "abc")), "'abc'");
  EXPECT_EQ(MemoType()->SqlValue(StringValue(std::string(300, 'x'))),
            "'" + std::string(300, 'x') + "'");
  EXPECT_TRUE(MemoType()->IsComplexValue(StringValue("plain")));
}

TEST(StringType, Descriptions) {
  EXPECT_EQ(StringType(12, true)->TypeName(), "String(12)");
  EXPECT_EQ(StringType(12, false)->TypeName(), "Text(12)");
  EXPECT_EQ(StringType(12, false)->SqlTypeName(), "char(12)");
  EXPECT_EQ(StringType(12, false)->DataSize(), 13);
  EXPECT_EQ(StringType(300, false)->DataSize(), 302);
  EXPECT_EQ(StringType(12, false)->DisplayWidth(), 12);
  EXPECT_EQ(MemoType()->TypeName(), "Memo");
  EXPECT_EQ(MemoType()->SqlTypeName(), "text");
  EXPECT_EQ(MemoType()->DataSize(), 255);
  EXPECT_EQ(MemoType()->DisplayWidth(), 80);
  EXPECT_TRUE(MemoType()->IsDynamicSize());
  EXPECT_EQ(MemoType()->MaxSize(), 2147483647);
  EXPECT_EQ(StringType(4, true)->MaxSize(), 65535);
  TParams params;
  MemoType()->WriteParams(params);
  EXPECT_EQ(params, (TParams{"SIZE=2147483647", "CS=F", "DYNSIZE=T"}));
}

TEST(StringType, CreateFromParams) {
  const auto make = [](const TParams& p) { return TStringType::ClassCreateFromParams(p); };
  EXPECT_EQ(make({"SIZE=20", "CS=F"}), StringType(20, false));
  EXPECT_EQ(make({"SIZE=20"}), StringType(20, true));
  EXPECT_EQ(make({"SIZE=abc"}), CaseSensitiveMemoType());
  EXPECT_EQ(make({}), CaseSensitiveMemoType());
  EXPECT_EQ(make({"SIZE=0", "CS=F"}), MemoType());
  EXPECT_EQ(make({"SIZE=-4"}), CaseSensitiveMemoType());
  EXPECT_EQ(make({"SIZE=70000"}), CaseSensitiveMemoType());
  EXPECT_EQ(TMemoType::ClassCreateFromParams({"CS=F"}), MemoType());
  EXPECT_EQ(TMemoType::ClassCreateFromParams({"SIZE=5"}), CaseSensitiveMemoType());
}

TEST(StringType, ReadingTextAsOtherKinds) {
  EXPECT_EQ(ValueAsInteger(StringValue(" 42 ")), 42);
  EXPECT_EQ(ValueAsInteger(StringValue("")), 0);
  EXPECT_THROW(ValueAsInteger(StringValue("1.5")), platform::EConvertError);
  EXPECT_THROW(ValueAsFloat(StringValue("abc")), platform::EConvertError);
  EXPECT_EQ(ValueAsCurrency(StringValue("1.5")), 15000);
  EXPECT_EQ(ValueAsPercent(StringValue("25 %")), 25.0);
  EXPECT_EQ(ValueAsPointer(StringValue("anything")), nullptr);
  EXPECT_TRUE(ValueAsBoolean(StringValue("X")));
  EXPECT_TRUE(StringType(3, true)->IsEmpty(StringValue("")));
  EXPECT_FALSE(StringType(3, true)->IsEmpty(StringValue(" ")));
}

TEST(StringType, FormatTrimsAndParseKeepsText) {
  TValue r;
  StringType(10, true)->FormatValue(StringValue("  ab  "), TValueFormat{}, r);
  EXPECT_EQ(ValueAsString(r), "ab");
  EXPECT_EQ(r.DataType, StringType(2, true));
  EXPECT_TRUE(StringType(4, false)->ParseValue("abcdef", r, TValueFormat{}));
  EXPECT_EQ(ValueAsString(r), "abcd");
  EXPECT_EQ(r.DataType, StringType(4, false));
}

TEST(StringType, RowBufferCells) {
  unsigned char cell[400];
  TValue r;
  const TStringType* small = StringType(5, true);
  std::memset(cell, 0xEE, sizeof(cell));
  small->WriteBuffer(cell, StringValue("abcdefg"), 0, nullptr, nullptr);
  EXPECT_EQ(cell[0], 5);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(cell + 1), 5), "abcde");
  small->ReadBuffer(cell, 0, r, nullptr, nullptr);
  EXPECT_EQ(ValueAsString(r), "abcde");
  EXPECT_EQ(r.DataType, small);

  const TStringType* wide = StringType(300, true);
  wide->WriteBuffer(cell, StringValue(std::string(258, 'w')), 0, nullptr, nullptr);
  EXPECT_EQ(cell[0], 258 & 0xFF);  // least significant byte first
  EXPECT_EQ(cell[1], 1);
  wide->ReadBuffer(cell, 0, r, nullptr, nullptr);
  EXPECT_EQ(ValueAsString(r), std::string(258, 'w'));

  // A damaged length never reads past the cell.
  cell[0] = 200;
  small->ReadBuffer(cell, 0, r, nullptr, nullptr);
  EXPECT_EQ(ValueAsString(r).size(), 5u);
}

struct LongTexts {
  std::map<int, std::string> Stored;
  static void Write(void* owner, int field, const std::string& text) {
    static_cast<LongTexts*>(owner)->Stored[field] = text;
  }
  static void Read(void* owner, int field, std::string& text) {
    text = static_cast<LongTexts*>(owner)->Stored[field];
  }
};

TEST(MemoType, ShortTextsInlineLongTextsWithTheOwner) {
  unsigned char cell[255];
  LongTexts owner;
  TValue r;
  MemoType()->WriteBuffer(cell, StringValue(std::string(254, 'a')), 3, &LongTexts::Write, &owner);
  EXPECT_EQ(cell[0], 255);
  EXPECT_TRUE(owner.Stored.empty());
  MemoType()->ReadBuffer(cell, 3, r, &LongTexts::Read, &owner);
  EXPECT_EQ(ValueAsString(r), std::string(254, 'a'));
  EXPECT_EQ(r.DataType, MemoType());

  MemoType()->WriteBuffer(cell, StringValue(std::string(255, 'b')), 3, &LongTexts::Write, &owner);
  EXPECT_EQ(cell[0], 0);
  EXPECT_EQ(owner.Stored[3], std::string(255, 'b'));
  MemoType()->ReadBuffer(cell, 3, r, &LongTexts::Read, &owner);
  EXPECT_EQ(ValueAsString(r), std::string(255, 'b'));

  MemoType()->WriteBuffer(cell, StringValue(""), 3, nullptr, nullptr);
  EXPECT_EQ(cell[0], 1);
  // Without callbacks a long text is simply not kept.
  MemoType()->WriteBuffer(cell, StringValue(std::string(300, 'c')), 3, nullptr, nullptr);
  MemoType()->ReadBuffer(cell, 3, r, nullptr, nullptr);
  EXPECT_EQ(ValueAsString(r), "");
}

TEST(BooleanType, TextRule) {
  for (const char* yes : {"T", "t", "true", "TRUE", "True", "X", "x"})
    EXPECT_TRUE(BooleanType()->StringToBoolean(yes)) << yes;
  for (const char* no : {"tRUE", "yes", "1", "", " T", "F", "false"})
    EXPECT_FALSE(BooleanType()->StringToBoolean(no)) << no;
}

TEST(BooleanType, ConversionsAndDefaults) {
  EXPECT_EQ(ValueAsString(BooleanValue(true)), "T");
  EXPECT_EQ(ValueAsString(BooleanValue(false)), "F");
  EXPECT_EQ(ValueAsInteger(BooleanValue(true)), 1);
  EXPECT_EQ(ValueAsCurrency(BooleanValue(true)), 10000);
  EXPECT_EQ(ValueAsPercent(BooleanValue(true)), 1.0);
  EXPECT_EQ(ValueAsFloat(BooleanValue(false)), 0.0);
  try {
    ValueAsDate(BooleanValue(true));
    ADD_FAILURE();
  } catch (const ETypeConversionError& e) {
    EXPECT_EQ(e.Message(), "Cannot convert Boolean to DateTime!");
  }
  try {
    ValueAsObject(BooleanValue(true));
    ADD_FAILURE();
  } catch (const ETypeConversionError& e) {
    EXPECT_EQ(e.Message(), "Cannot convert Boolean to Pointer!");
  }
  TValue r;
  BooleanType()->ConvertValue(StringValue("3"), r);  // not a true text
  EXPECT_FALSE(ValueAsBoolean(r));
  BooleanType()->ConvertValue(IntegerValue(3), r);  // a number that is not zero
  EXPECT_TRUE(ValueAsBoolean(r));
  BooleanType()->ConvertValue(StringValue("True"), r);
  EXPECT_TRUE(ValueAsBoolean(r));
  BooleanType()->DefaultValue(r);
  EXPECT_FALSE(ValueAsBoolean(r));
  EXPECT_EQ(BooleanType()->SqlValue(BooleanValue(true)), "'T'");
  EXPECT_EQ(BooleanType()->TypeName(), "Boolean");
  EXPECT_EQ(BooleanType()->SqlTypeName(), "char(1)");
  EXPECT_TRUE(BooleanType()->IsComplexValue(BooleanValue(true)));
  EXPECT_EQ(BooleanType()->CreateFromParams({"SIZE=3"}), BooleanType());
}

TEST(BooleanType, LogicAndOrder) {
  const TValue t = BooleanValue(true);
  const TValue f = BooleanValue(false);
  TValue r;
  const TValue raises = DateValue(1);  // reading it as a Boolean raises
  BooleanType()->LogicalAnd(f, raises, r);
  EXPECT_FALSE(ValueAsBoolean(r));
  BooleanType()->LogicalOr(t, raises, r);
  EXPECT_TRUE(ValueAsBoolean(r));
  EXPECT_THROW(BooleanType()->LogicalAnd(t, raises, r), ETypeConversionError);
  BooleanType()->Difference(t, f, r);
  EXPECT_TRUE(ValueAsBoolean(r));
  BooleanType()->Difference(t, t, r);
  EXPECT_FALSE(ValueAsBoolean(r));
  BooleanType()->Negate(t, r);
  EXPECT_FALSE(ValueAsBoolean(r));
  EXPECT_LT(BooleanType()->Compare(f, t), 0);
  EXPECT_GT(BooleanType()->Compare(t, f), 0);
  // The default logic of other types answers their default value.
  IntegerType()->LogicalAnd(IntegerValue(1), IntegerValue(1), r);
  EXPECT_EQ(ValueAsInteger(r), 0);
}

TEST(BooleanType, FormatParseAndBuffer) {
  TValue r;
  BooleanType()->FormatValue(BooleanValue(true), TValueFormat{}, r);
  EXPECT_EQ(r.DataType, MemoType());
  EXPECT_EQ(ValueAsString(r), "T");
  EXPECT_TRUE(BooleanType()->ParseValue("x", r, TValueFormat{}));
  EXPECT_TRUE(ValueAsBoolean(r));
  unsigned char cell[1];
  BooleanType()->WriteBuffer(cell, StringValue("true"), 0, nullptr, nullptr);
  EXPECT_EQ(cell[0], 1);
  BooleanType()->ReadBuffer(cell, 0, r, nullptr, nullptr);
  EXPECT_EQ(r.DataType, BooleanType());
  EXPECT_TRUE(ValueAsBoolean(r));
}

}  // namespace
}  // namespace dataframework
