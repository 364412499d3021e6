// Server texts to values and back, kind by kind; texts a kind cannot take.
#include <gtest/gtest.h>

#include "dataframework/bridge/BridgeTable.h"
#include "dataframework/types/DataTypes.h"
#include "dataframework/types/DateTimeTypes.h"
#include "dataframework/types/NumericTypes.h"
#include "dataframework/types/TextTypes.h"

namespace dataframework::bridge {
namespace {

const TDataType* TypeFor(TColumnKind Kind) {
  TCatalogColumn column;
  column.Size = 10;
  return TypeOfColumn(Kind, column);
}

TEST(ColumnValuesTest, ServerTextsComeBackAsTheServerReadsThem) {
  struct TCase {
    TColumnKind Kind;
    const char* In;
    const char* Out;
  };
  const TCase cases[] = {
      {ckInteger, "-2147483648", "-2147483648"},
      {ckDouble, "0.1", "0.1"},
      {ckDouble, "-1e+300", "-1e+300"},
      {ckDouble, "Infinity", "Infinity"},
      {ckCurrency, "12.5", "12.5000"},
      {ckCurrency, "-0.0001", "-0.0001"},
      {ckCurrency, "1.23456", "1.2346"},  // rounded half away at the fifth decimal
      {ckCurrency, "922337203685.4775", "922337203685.4775"},
      {ckString, "O'Neil \"x\" \xc3\xa9t\xc3\xa9", "O'Neil \"x\" \xc3\xa9t\xc3\xa9"},
      {ckMemo, "", ""},
      {ckBoolean, "t", "1"},
      {ckBoolean, "0", "0"},
      {ckDate, "2024-02-29", "2024-02-29"},
      {ckDate, "1899-12-29", "1899-12-29"},
      {ckTime, "23:59:59.999", "23:59:59.999"},
      {ckTime, "07:05:00", "07:05:00.000"},
      {ckDateTime, "2001-09-09 01:46:40.5", "2001-09-09 01:46:40.500"},
      {ckDateTime, "1850-06-01 18:00:00", "1850-06-01 18:00:00.000"},
  };
  for (const TCase& c : cases) {
    const TValue v = ValueFromText(c.Kind, TypeFor(c.Kind), c.In, "t", "c");
    EXPECT_EQ(TextOfValue(c.Kind, v), c.Out) << c.In;
    // The text written is read back as the same value.
    const TValue again = ValueFromText(c.Kind, TypeFor(c.Kind), TextOfValue(c.Kind, v), "t", "c");
    EXPECT_EQ(HashValue(c.Kind, again, false, HashSeed), HashValue(c.Kind, v, false, HashSeed))
        << c.In;
  }
}

TEST(ColumnValuesTest, TextsAKindCannotTakeNameTableAndColumn) {
  struct TCase {
    TColumnKind Kind;
    const char* In;
  };
  const TCase cases[] = {{ckInteger, "2147483648"},
                         {ckInteger, "1.5"},
                         {ckCurrency, "1e5"},
                         {ckCurrency, "99999999999999999"},
                         {ckBoolean, "yes?"},
                         {ckDate, "2023-02-29"},
                         {ckDate, "infinity"},
                         {ckTime, "25:00:00"},
                         {ckDateTime, "2024-01-01x10:00:00"},
                         {ckDouble, ""}};
  for (const TCase& c : cases) {
    try {
      ValueFromText(c.Kind, TypeFor(c.Kind), c.In, "shop.items", "price");
      ADD_FAILURE() << "accepted " << c.In;
    } catch (const EBridgeError& e) {
      EXPECT_EQ(std::string(e.what()),
                std::string("Cannot read '") + c.In + "' of column shop.items.price");
    }
  }
}

TEST(ColumnValuesTest, FingerprintsTellNullFromTheEmptyValue) {
  const TValue empty = ValueFromText(ckString, TypeFor(ckString), "", "t", "c");
  EXPECT_NE(HashValue(ckString, empty, true, HashSeed),
            HashValue(ckString, empty, false, HashSeed));
  const TValue zero = IntegerValue(0);
  EXPECT_NE(HashValue(ckInteger, zero, true, HashSeed),
            HashValue(ckInteger, zero, false, HashSeed));
}

}  // namespace
}  // namespace dataframework::bridge
