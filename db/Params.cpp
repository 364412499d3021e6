#include "db/Params.h"

#include "db/Errors.h"
#include "platform/TextUtils.h"

namespace db {

void TParam::SetAsString(const std::string& v) {
  FDataType = ftString;
  FValue = v;
}

void TParam::SetAsInteger(int32_t v) {
  FDataType = ftInteger;
  FValue = v;
}

void TParam::SetAsFloat(double v) {
  FDataType = ftFloat;
  FValue = v;
}

void TParam::SetAsDateTime(double days) {
  FDataType = ftDateTime;
  FValue = days;
}

TParam* TParams::FindParam(const std::string& name) {
  for (auto& p : FItems)
    if (platform::SameText(p->Name(), name)) return p.get();
  return nullptr;
}

TParam& TParams::ParamByName(const std::string& name) {
  if (TParam* p = FindParam(name)) return *p;
  throw EDatabaseError(platform::FormatMessage("Parameter '%s' not found", {name}));
}

TParam& TParams::CreateParam(TFieldType dataType, const std::string& name, TParamType paramType) {
  FItems.push_back(std::make_unique<TParam>(name, dataType, paramType));
  return *FItems.back();
}

}  // namespace db
