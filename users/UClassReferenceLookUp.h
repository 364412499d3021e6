// A code-and-description pair: a user's department, country, city, site,
// building, floor, company, position or status.
//
// Codes are held as text, even where the database stores numbers. The tag
// and the wide text belong to callers; the user directory neither sets nor
// reads them. Owns nothing but its values.
#pragma once

#include <cstdint>
#include <string>

namespace users {

class TReferenceLookup {
 public:
  TReferenceLookup() = default;

  int32_t GetTag() const { return FTag; }
  const std::string& GetId() const { return FId; }
  const std::string& GetDescription() const { return FDescription; }
  const std::u16string& GetWideText() const { return FWideText; }

  void SetTag(int32_t value) { FTag = value; }
  void SetId(const std::string& value) { FId = value; }
  void SetDescription(const std::string& value) { FDescription = value; }
  void SetWideText(const std::u16string& value) { FWideText = value; }

 private:
  int32_t FTag = 0;
  std::string FId;
  std::string FDescription;
  std::u16string FWideText;
};

}  // namespace users
