// Helpers for the quilt tests: real data fields of a double type, quilt
// fields and patches written as short texts ("[1,3) (5,+inf)", "none",
// "all" for unrestricted), and the reverse rendering for comparisons.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "dataframework/conditions/Quilt.h"
#include "dataframework/elements/DataField.h"
#include "dataframework/elements/DataFieldSet.h"
#include "dataframework/types/DataTypes.h"
#include "dataframework/types/NumericTypes.h"
#include "platform/DataError.h"

namespace dataframework::quilttest {

inline TQuiltPoint Pt(double Value, bool Closed) {
  return MakePoint(DoubleValue(Value), Closed);
}

inline std::string NumberText(double X) {
  std::ostringstream s;
  s << X;
  return s.str();
}

inline std::string PointText(const TQuiltPoint& P) {
  if (P.Infinite) return P.Closed ? "-inf" : "+inf";
  return NumberText(ValueAsFloat(P.Value));
}

// "[1,3) (5,+inf)"; "none" for a restricted empty field; "all" unrestricted.
inline std::string Text(const TQuiltField& F) {
  if (!F.Restricted()) return "all";
  if (F.Count() == 0) return "none";
  std::string out;
  for (int i = 0; i < F.Count(); ++i) {
    const TQuiltValueItem& item = F.ValueList().Item(i);
    if (!out.empty()) out += ' ';
    out += item.StartPoint.Closed && !item.StartPoint.Infinite ? '[' : '(';
    out += PointText(item.StartPoint) + "," + PointText(item.EndPoint);
    out += item.EndPoint.Closed && !item.EndPoint.Infinite ? ']' : ')';
  }
  return out;
}

// Adds the intervals of Intervals with merging insertion (see Text for the form).
inline void AddIntervals(TQuiltField& F, std::string_view Intervals) {
  if (Intervals == "all") return;
  if (Intervals == "none") {
    F.SetNone();
    return;
  }
  std::istringstream in{std::string(Intervals)};
  std::string item;
  while (in >> item) {
    const bool startClosed = item.front() == '[';
    const bool endClosed = item.back() == ']';
    const std::string body = item.substr(1, item.size() - 2);
    const size_t comma = body.find(',');
    auto point = [](const std::string& t, bool closed) {
      if (t == "-inf") return MinusInfinity();
      if (t == "+inf") return PlusInfinity();
      return Pt(std::stod(t), closed);
    };
    F.AddIntervalPoints(point(body.substr(0, comma), startClosed),
                        point(body.substr(comma + 1), endClosed));
  }
}

inline std::unique_ptr<TQuiltField> MakeField(TDataField* Field, std::string_view Intervals) {
  auto result = std::make_unique<TQuiltField>(Field);
  AddIntervals(*result, Intervals);
  return result;
}

using TFieldSpec = std::pair<TDataField*, std::string_view>;

inline std::unique_ptr<TQuiltPatch> MakePatch(std::initializer_list<TFieldSpec> Fields) {
  auto patch = std::make_unique<TQuiltPatch>();
  for (const TFieldSpec& item : Fields)
    AddIntervals(*patch->FieldFor(item.first, true), item.second);
  return patch;
}

// "{A [1,5]; B [1,2]}" over Fields in the given order (absent fields left out).
inline std::string Text(const TQuiltPatch& Patch, const std::vector<TDataField*>& Fields) {
  std::string out = "{";
  for (TDataField* field : Fields) {
    const TQuiltField* own = Patch.FieldFor(field);
    if (own == nullptr) continue;
    if (out.size() > 1) out += "; ";
    out += field->FieldName() + " " + Text(*own);
  }
  return out + "}";
}

inline std::vector<std::string> Texts(const TQuilt& Quilt, const std::vector<TDataField*>& Fields) {
  std::vector<std::string> out;
  for (int i = 0; i < Quilt.PatchCount(); ++i) out.push_back(Text(*Quilt.Patches(i), Fields));
  return out;
}

// Three fields of the double type, freed with the fixture.
class QuiltFields : public ::testing::Test {
 protected:
  std::unique_ptr<TDataField> A = TDataField::CreateField("QuiltA", DoubleType());
  std::unique_ptr<TDataField> B = TDataField::CreateField("QuiltB", DoubleType());
  std::unique_ptr<TDataField> C = TDataField::CreateField("QuiltC", DoubleType());
  std::vector<TDataField*> All() const { return {A.get(), B.get(), C.get()}; }
};

}  // namespace dataframework::quilttest
