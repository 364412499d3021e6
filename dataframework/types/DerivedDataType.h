// Data types built on the basic ones for particular uses:
// TIntegerStringType, text sized for the decimal text of any 32-bit integer
// and aligned like a number; TPictureType, an object type whose values are
// pictures; TStringDateTimeType, a date-time type whose text is the fixed
// pattern yyyy-mm-dd hh/nn/ss ("/" the locale date separator).
//
// Each has one process-wide instance, owned by this module and freed at exit.
#pragma once

#include "dataframework/types/DataType.h"
#include "platform/Picture.h"

namespace dataframework {

class TIntegerStringType : public TStringType {
 public:
  static const TDataTypeClass kClass;
  // Size 11, the length of "-2147483648", so that no integer text is cut;
  // ignores case.
  TIntegerStringType() : TStringType(11, false, false, kClass) {}

  TAlignment Alignment() const override { return taRightJustify; }
};

class TPictureType : public TObjectType {
 public:
  static const TDataTypeClass kClass;
  TPictureType() : TObjectType(kClass) {}

  void PictureToValue(platform::TPicture* Picture, TValue& R) const noexcept {
    ObjectToValue(Picture, R);
  }
  // The value's object when it is null or a picture; otherwise raises
  // "<ClassName>.GetAsPicture: You can not get Pictures from this DataType!".
  virtual platform::TPicture* GetAsPicture(const TValue& V) const;
};

class TStringDateTimeType : public TDateTimeType {
 public:
  static const TDataTypeClass kClass;
  // The pattern of the text form.
  static constexpr const char* kPattern = "yyyy-mm-dd hh/nn/ss";

  TStringDateTimeType() : TDateTimeType(kClass) {}

  std::string AsString(const TValue& V) const override;
  std::string SqlTypeName() const override;
  // Empty text is 0; otherwise exactly 19 characters in the pattern (the
  // separators are not checked). Raises platform::Exception for another
  // length, EConvertError for a part that is not a number or an impossible
  // date or time.
  double StringToDateTime(const std::string& Text) const override;
};

const TIntegerStringType* IntegerStringType();
const TPictureType* PictureType();
const TStringDateTimeType* StringDateTimeType();

TValue PictureValue(platform::TPicture* Picture);

}  // namespace dataframework
