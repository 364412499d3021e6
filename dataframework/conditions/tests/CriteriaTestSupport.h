// Helpers shared by the criteria tests: a few real data fields of several
// kinds and readable renderings of criteria fields.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "dataframework/conditions/Criteria.h"
#include "dataframework/elements/DataElements.h"
#include "dataframework/types/DataTypes.h"
#include "dataframework/types/NumericTypes.h"
#include "dataframework/types/TextTypes.h"
#include "testsupport/MessageOf.h"

namespace dataframework::criteriatest {

using testsupport::MessageOf;

// "blank", "all", "none" or the items as "[s,e] [s,e]" (display texts).
inline std::string Describe(const TCriteriaField& CF) {
  if (CF.IsNone()) return CF.Count() == 0 ? "none" : "none+items";
  if (CF.AcceptsAll() && CF.Count() == 0) return CF.IsBlank() ? "blank" : "all";
  std::string text;
  for (int i = 0; i < CF.Count(); ++i) {
    if (i > 0) text += " ";
    text += "[" + ValueAsString(CF.GetStartValue(i)) + "," + ValueAsString(CF.GetEndValue(i)) + "]";
  }
  return text;
}

// Data fields of several kinds with names unique to this test program
// (the field registry refuses a second field under a taken name).
class CriteriaFields : public ::testing::Test {
 protected:
  std::unique_ptr<TDataField> FI = TDataField::CreateField("CrI", IntegerType());
  std::unique_ptr<TDataField> FI2 = TDataField::CreateField("CrI2", IntegerType());
  std::unique_ptr<TDataField> FD = TDataField::CreateField("CrD", DoubleType());
  std::unique_ptr<TDataField> FS = TDataField::CreateField("CrS", StringType(20, true));
  std::unique_ptr<TDataField> FNoIntervals = NoIntervals("CrNI", IntegerType());
  std::unique_ptr<TDataField> FSNoIntervals = NoIntervals("CrSNI", StringType(20, true));

  static std::unique_ptr<TDataField> NoIntervals(const std::string& Name, const TDataType* Type) {
    auto f = TDataField::CreateField(Name, Type);
    f->SetDisableIntervals(true);
    return f;
  }

  // A criteria field of FI holding the given items ({s, e} pairs).
  std::unique_ptr<TCriteriaField> IntItems(std::initializer_list<std::pair<int, int>> Items,
                                           TDataField* Field = nullptr) {
    auto cf = std::make_unique<TCriteriaField>(Field != nullptr ? Field : FI.get());
    for (auto [s, e] : Items) cf->AddInterval(IntegerValue(s), IntegerValue(e));
    return cf;
  }
};

}  // namespace dataframework::criteriatest
