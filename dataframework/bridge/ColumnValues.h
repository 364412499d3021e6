// The values of database columns as the bridge moves them: the column kinds
// the framework can hold, the text forms that go to and come from the
// server (ISO dates, "." decimals, "1"/"0" for Booleans), and a row's
// identity and version fingerprints.
//
// Every function is a plain function of its arguments. Parsing a text the
// kind cannot take raises EBridgeError naming the table and column.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "dataframework/types/DataTypeCore.h"
#include "platform/Exception.h"

namespace dataframework::bridge {

// A column kind and the framework type that holds it.
enum TColumnKind : uint8_t {
  ckInteger,   // 32-bit integer
  ckDouble,    // double precision
  ckCurrency,  // numeric/decimal with a scale of 1 to 4 (count of 1/10000)
  ckString,    // text of a bounded size
  ckMemo,      // unbounded text
  ckBoolean,
  ckDate,
  ckTime,
  ckDateTime,
};

// Errors of the bridge itself (bad table, bad condition, conflicts); the
// database's own errors arrive as db::EDatabaseError.
class EBridgeError : public platform::Exception {
 public:
  using platform::Exception::Exception;
};

// The failed save's first conflicting row: changed or deleted in the
// database since it was loaded, or inserted here under a key the database
// already holds.
class EBridgeConflict : public EBridgeError {
 public:
  EBridgeConflict(std::string Message, std::string Key)
      : EBridgeError(std::move(Message)), FKey(std::move(Key)) {}
  // The key as "v1, v2, ..." (the values' server text).
  const std::string& Key() const noexcept { return FKey; }

 private:
  std::string FKey;
};

// Text -> value of Type (the framework type of a column of Kind). Raises
// EBridgeError "Cannot read '<text>' of column <table>.<column>" when the
// text is not a value of the kind.
TValue ValueFromText(TColumnKind Kind, const TDataType* Type, std::string_view Text,
                     const std::string& Table, const std::string& Column);
// The value a NULL of the column reads as: 0, the empty text, false, or
// day 0 (not the type's default, which for dates is the current time).
TValue NullValue(TColumnKind Kind, const TDataType* Type);
// Value -> the text the server reads for a column of Kind.
std::string TextOfValue(TColumnKind Kind, const TValue& Value);

// 64-bit FNV-1a over bytes, chained through Seed.
uint64_t HashBytes(const void* Data, size_t Size, uint64_t Seed);
inline constexpr uint64_t HashSeed = 14695981039346656037ull;
// Folds one column value (or NULL) into a fingerprint.
uint64_t HashValue(TColumnKind Kind, const TValue& Value, bool IsNull, uint64_t Seed);

}  // namespace dataframework::bridge
