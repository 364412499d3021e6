#include "dataframework/translation/PropertyPath.h"

#include <cstdint>

#include "platform/ClassRegistry.h"
#include "platform/Component.h"
#include "platform/PropInfo.h"

namespace dataframework {

TPathParts SplitPath(std::string_view Path) {
  TPathParts parts;
  const size_t bracket = Path.find('[');
  const size_t dot = Path.find('.');
  if (bracket == std::string_view::npos && dot == std::string_view::npos) {
    parts.Kind = pkPlain;
    parts.Head = std::string(Path);
    return parts;
  }
  if (bracket != std::string_view::npos && (dot == std::string_view::npos || bracket < dot)) {
    parts.Head = std::string(Path.substr(0, bracket));
    const std::string_view rest = Path.substr(bracket + 1);
    const size_t close = rest.find(']');
    if (close != std::string_view::npos && close + 1 < rest.size() && rest[close + 1] == '.') {
      parts.Kind = pkCollection;
      parts.Tail = std::string(rest.substr(close + 2));
    } else {
      parts.Kind = pkList;
      parts.Tail =
          close == std::string_view::npos ? std::string() : std::string(rest.substr(close + 1));
    }
    return parts;
  }
  parts.Kind = pkObject;
  parts.Head = std::string(Path.substr(0, dot));
  parts.Tail = std::string(Path.substr(dot + 1));
  return parts;
}

std::string StripIndexes(std::string_view Path) {
  std::string result;
  result.reserve(Path.size());
  bool inside = false;
  for (char c : Path) {
    if (inside) {
      if (c == ']') {
        inside = false;
        result += c;
      }
    } else {
      result += c;
      if (c == '[') inside = true;
    }
  }
  return result;
}

bool HasProperty(const platform::TObject* Object, std::string_view Name) {
  return Object != nullptr && platform::GetPropInfo(*Object, Name) != nullptr;
}

std::string GetPropertyText(const platform::TObject* Object, std::string_view Name) {
  platform::TComponent* action = nullptr;
  if (IsActionProperty(Object, Name, action)) return platform::GetStrProp(*action, Name);
  return platform::GetStrProp(*Object, Name);
}

void SetPropertyText(platform::TObject* Object, std::string_view Name, const std::string& Text) {
  platform::SetStrProp(*Object, Name, Text);
}

platform::TObject* GetObjectProperty(const platform::TObject* Object, std::string_view Name,
                                     const platform::TClass& Class) {
  if (Object == nullptr) return nullptr;
  const platform::TPropInfo* info = platform::GetPropInfo(*Object, Name);
  if (info == nullptr || info->Kind != platform::tkClass || !info->GetObj) return nullptr;
  platform::TObject* held = info->GetObj(*Object);
  if (held == nullptr || !held->ClassType().InheritsFrom(&Class)) return nullptr;
  return held;
}

bool IsAction(const platform::TObject* Object) {
  return Object != nullptr && Object->ClassType().InheritsFrom(std::string_view(ActionClassName));
}

bool IsActionProperty(const platform::TObject* Object, std::string_view Name,
                      platform::TComponent*& Action) {
  Action = nullptr;
  if (Object == nullptr || Name.find('.') != std::string_view::npos ||
      Name.find('[') != std::string_view::npos)
    return false;
  platform::TObject* held =
      GetObjectProperty(Object, "Action", platform::TComponent::StaticClass());
  if (!IsAction(held) || !HasProperty(held, Name)) return false;
  Action = static_cast<platform::TComponent*>(held);
  return true;
}

namespace {

// Appends code point C as UTF-8.
void AppendUtf8(std::string& Out, std::uint32_t C) {
  if (C < 0x80) {
    Out += static_cast<char>(C);
  } else if (C < 0x800) {
    Out += static_cast<char>(0xC0 | (C >> 6));
    Out += static_cast<char>(0x80 | (C & 0x3F));
  } else if (C < 0x10000) {
    Out += static_cast<char>(0xE0 | (C >> 12));
    Out += static_cast<char>(0x80 | ((C >> 6) & 0x3F));
    Out += static_cast<char>(0x80 | (C & 0x3F));
  } else {
    Out += static_cast<char>(0xF0 | (C >> 18));
    Out += static_cast<char>(0x80 | ((C >> 12) & 0x3F));
    Out += static_cast<char>(0x80 | ((C >> 6) & 0x3F));
    Out += static_cast<char>(0x80 | (C & 0x3F));
  }
}

// Lower case of the capitals of Latin-1, Latin Extended-A, Greek and
// Cyrillic; other code points unchanged.
std::uint32_t LowerCodePoint(std::uint32_t C) {
  if (C >= 'A' && C <= 'Z') return C + 32;
  if (C >= 0xC0 && C <= 0xDE && C != 0xD7) return C + 32;
  if (C >= 0x100 && C <= 0x137 && C % 2 == 0) return C + 1;
  if (C >= 0x139 && C <= 0x148 && C % 2 == 1) return C + 1;
  if (C >= 0x14A && C <= 0x177 && C % 2 == 0) return C + 1;
  if (C == 0x178) return 0xFF;
  if (C == 0x179 || C == 0x17B || C == 0x17D) return C + 1;
  if (C >= 0x391 && C <= 0x3AB && C != 0x3A2) return C + 32;
  if (C >= 0x410 && C <= 0x42F) return C + 32;
  if (C >= 0x400 && C <= 0x40F) return C + 80;
  return C;
}

// Length of the UTF-8 sequence that starts with Lead, 0 for a byte that
// cannot start one.
int SequenceLength(unsigned char Lead) {
  if (Lead < 0x80) return 1;
  if ((Lead & 0xE0) == 0xC0) return 2;
  if ((Lead & 0xF0) == 0xE0) return 3;
  if ((Lead & 0xF8) == 0xF0) return 4;
  return 0;
}

}  // namespace

std::string CaptionSortKey(std::string_view Text) {
  std::string result;
  result.reserve(Text.size());
  size_t i = 0;
  while (i < Text.size()) {
    const auto lead = static_cast<unsigned char>(Text[i]);
    const int length = SequenceLength(lead);
    bool valid = length > 0 && i + static_cast<size_t>(length) <= Text.size();
    std::uint32_t code = length == 1 ? lead : (lead & (0x7F >> length));
    for (int k = 1; valid && k < length; ++k) {
      const auto next = static_cast<unsigned char>(Text[i + static_cast<size_t>(k)]);
      if ((next & 0xC0) != 0x80) valid = false;
      code = (code << 6) | (next & 0x3F);
    }
    if (!valid) {
      // Not UTF-8: the byte stays as it is.
      result += Text[i];
      ++i;
      continue;
    }
    i += static_cast<size_t>(length);
    if (code == '&') continue;
    if (length == 1) {
      result += static_cast<char>(LowerCodePoint(code));
    } else {
      AppendUtf8(result, LowerCodePoint(code));
    }
  }
  return result;
}

}  // namespace dataframework
