#include "platform/TextUtils.h"

namespace platform {
namespace {

bool IsTrimmed(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

char ToUpper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
char ToLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

std::string Trim(std::string_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsTrimmed(text[begin])) ++begin;
  while (end > begin && IsTrimmed(text[end - 1])) --end;
  return std::string(text.substr(begin, end - begin));
}

std::string TrimLeft(std::string_view text) {
  size_t begin = 0;
  while (begin < text.size() && IsTrimmed(text[begin])) ++begin;
  return std::string(text.substr(begin));
}

std::string TrimRight(std::string_view text) {
  size_t end = text.size();
  while (end > 0 && IsTrimmed(text[end - 1])) --end;
  return std::string(text.substr(0, end));
}

std::string UpperCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = ToUpper(c);
  return out;
}

std::string LowerCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = ToLower(c);
  return out;
}

int CompareStr(std::string_view a, std::string_view b) {
  int c = a.compare(b);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int CompareText(std::string_view a, std::string_view b) {
  size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    unsigned char x = static_cast<unsigned char>(ToUpper(a[i]));
    unsigned char y = static_cast<unsigned char>(ToUpper(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CompareText(a, b) == 0;
}

std::string QuotedStr(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  out += '\'';
  for (char c : text) {
    if (c == '\'') out += '\'';
    out += c;
  }
  out += '\'';
  return out;
}

std::string IntToHex(uint64_t value, int digits) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string out;
  do {
    out.insert(out.begin(), kDigits[value & 0xF]);
    value >>= 4;
  } while (value != 0);
  if (static_cast<int>(out.size()) < digits) out.insert(0, digits - out.size(), '0');
  return out;
}

}  // namespace platform
