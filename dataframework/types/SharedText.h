// TSharedText: the text part of a value, a handle to shared immutable text.
//
// Values are copied by value millions of times in row storages; the handle is
// one pointer wide, the empty text is the null handle (so values of non-text
// kinds never allocate), and copies share one reference-counted block.
// The count is not atomic: the data framework has one caller at a time.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace dataframework {

class TSharedText {
 public:
  TSharedText() noexcept = default;
  TSharedText(std::string text) {  // NOLINT: implicit on purpose, text assigns like a string
    if (!text.empty()) FRep = new Rep{std::move(text), 1};
  }
  TSharedText(std::string_view text) : TSharedText(std::string(text)) {}
  TSharedText(const char* text) : TSharedText(std::string(text)) {}
  TSharedText(const TSharedText& other) noexcept : FRep(other.FRep) {
    if (FRep) ++FRep->Refs;
  }
  TSharedText(TSharedText&& other) noexcept : FRep(std::exchange(other.FRep, nullptr)) {}
  TSharedText& operator=(const TSharedText& other) noexcept {
    TSharedText copy(other);
    Swap(copy);
    return *this;
  }
  TSharedText& operator=(TSharedText&& other) noexcept {
    TSharedText moved(std::move(other));
    Swap(moved);
    return *this;
  }
  ~TSharedText() { Release(); }

  const std::string& str() const noexcept { return FRep ? FRep->Text : Empty(); }
  operator const std::string&() const noexcept { return str(); }  // NOLINT
  bool empty() const noexcept { return FRep == nullptr; }
  size_t size() const noexcept { return FRep ? FRep->Text.size() : 0; }
  void clear() noexcept { Release(); }
  // Replaces the text. A block that no other handle shares is reused, so a
  // value refilled in a loop does not allocate each time. Text may point into
  // this handle's own text.
  void Assign(std::string_view text) {
    if (text.empty()) {
      Release();
    } else if (FRep != nullptr && FRep->Refs == 1) {
      FRep->Text.assign(text.data(), text.size());
    } else {
      TSharedText fresh{std::string(text)};
      Swap(fresh);
    }
  }
  void Swap(TSharedText& other) noexcept { std::swap(FRep, other.FRep); }

  friend bool operator==(const TSharedText& a, const TSharedText& b) noexcept {
    return a.FRep == b.FRep || a.str() == b.str();
  }
  friend bool operator==(const TSharedText& a, std::string_view b) noexcept { return a.str() == b; }

 private:
  struct Rep {
    std::string Text;
    uint32_t Refs;
  };

  static const std::string& Empty() noexcept {
    static const std::string empty;
    return empty;
  }
  void Release() noexcept {
    if (FRep && --FRep->Refs == 0) delete FRep;
    FRep = nullptr;
  }

  Rep* FRep = nullptr;
};

}  // namespace dataframework
