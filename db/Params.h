// Parameter lists of stored procedures: the caller-side list that callers
// fill by name, and the engine objects' own lists.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "db/FieldType.h"
#include "db/Variant.h"

namespace db {

enum TParamType { ptUnknown = 0, ptInput = 1, ptOutput = 2, ptInputOutput = 3, ptResult = 4 };

// One named parameter: a data type, a direction and a value that may be null.
class TParam {
 public:
  TParam(std::string name, TFieldType dataType, TParamType paramType = ptInput)
      : FName(std::move(name)), FDataType(dataType), FParamType(paramType) {}

  const std::string& Name() const { return FName; }
  TFieldType DataType() const { return FDataType; }
  void SetDataType(TFieldType t) { FDataType = t; }
  TParamType ParamType() const { return FParamType; }
  void SetParamType(TParamType t) { FParamType = t; }

  const TVariant& Value() const { return FValue; }
  void SetValue(const TVariant& v) { FValue = v; }

  // Setting a value as string or integer also sets the data type.
  void SetAsString(const std::string& v);
  void SetAsInteger(int32_t v);
  void SetAsFloat(double v);
  void SetAsDateTime(double days);
  // Makes the value null; the data type stays.
  void Clear() { FValue = std::monostate{}; }

  bool IsNull() const { return VarIsNull(FValue); }
  // Null reads as "", 0 and 0.0. AsString is also the text of a large object.
  std::string AsString() const { return VarToStr(FValue); }
  int32_t AsInteger() const { return VarToInt(FValue); }
  double AsFloat() const { return VarToFloat(FValue); }
  double AsDateTime() const { return VarToDateTime(FValue); }

 private:
  std::string FName;
  TFieldType FDataType;
  TParamType FParamType;
  TVariant FValue;
};

// An ordered list of parameters; owns them.
class TParams {
 public:
  TParams() = default;
  TParams(const TParams&) = delete;
  TParams& operator=(const TParams&) = delete;

  int Count() const { return static_cast<int>(FItems.size()); }
  TParam& Items(int index) { return *FItems.at(index); }
  const TParam& Items(int index) const { return *FItems.at(index); }
  TParam& operator[](int index) { return Items(index); }

  // Case-insensitive; the first match wins. nullptr when there is none.
  TParam* FindParam(const std::string& name);
  // As FindParam, but fails with EDatabaseError "Parameter '%s' not found".
  TParam& ParamByName(const std::string& name);

  // Appends a new parameter and returns it (the list keeps ownership).
  TParam& CreateParam(TFieldType dataType, const std::string& name, TParamType paramType = ptInput);
  void Clear() { FItems.clear(); }

 private:
  std::vector<std::unique_ptr<TParam>> FItems;
};

}  // namespace db
