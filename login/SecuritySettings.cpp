#include "login/SecuritySettings.h"

#include "db/DBManagerClass.h"
#include "login/ULoginVelkor.h"

namespace login {

std::string EscapeDnValue(const std::string& Text) {
  std::string out;
  out.reserve(Text.size() + 8);
  for (size_t i = 0; i < Text.size(); ++i) {
    const char c = Text[i];
    switch (c) {
      case '"':
      case '+':
      case ',':
      case ';':
      case '<':
      case '>':
      case '\\':
      case '=':
        out += '\\';
        out += c;
        break;
      case '\0':
        out += "\\00";
        break;
      case ' ':
        // A space is significant only at either end of a value.
        if (i == 0 || i + 1 == Text.size()) out += '\\';
        out += c;
        break;
      case '#':
        if (i == 0) out += '\\';
        out += c;
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string FillAccountPattern(const std::string& Pattern, const std::string& Name) {
  static const std::string kPlaceholder = "{0}";
  const std::string value = Pattern.find('=') != std::string::npos ? EscapeDnValue(Name) : Name;
  std::string out;
  out.reserve(Pattern.size() + value.size());
  size_t from = 0;
  for (size_t at; (at = Pattern.find(kPlaceholder, from)) != std::string::npos;
       from = at + kPlaceholder.size()) {
    out.append(Pattern, from, at - from);
    out += value;
  }
  out.append(Pattern, from, std::string::npos);
  return out;
}

void LoadSecuritySettings(std::string& AccountName, std::string& Path, int32_t& Security,
                          int32_t SettingsId) {
  TLoginState& state = LoginState();
  try {
    state.ReleaseCurrent();
    std::unique_ptr<db::TMyStoredProc> proc =
        db::DBManager()->CreateStoredProc("PRC_VKT_AUTHENTICATION");
    db::TParams& params = proc->GetParams();
    params.ParamByName("i_operation").SetAsString("S");
    params.ParamByName("i_option").SetAsString("E");
    params.ParamByName("i_id").SetAsInteger(SettingsId);
    db::TDataSet* row = proc->OpenProc();
    state.SetCurrent(std::move(proc), row);

    // Tested in this order, up to the first column that is not null.
    const bool none = row->IsEmpty() || (row->FieldByName("PATH").IsNull() &&
                                         row->FieldByName("USER_STRING").IsNull() &&
                                         row->FieldByName("SECURITY").IsNull());
    const std::string record = "settings " + std::to_string(SettingsId) + ": ";
    if (none) {
      AccountName.clear();
      Path.clear();
      Security = kNoSecuritySettings;
      state.Trace.Settings =
          record + (row->IsEmpty() ? "no row" : "PATH, USER_STRING and SECURITY null");
      return;
    }
    AccountName = FillAccountPattern(row->FieldByName("USER_STRING").AsString(), AccountName);
    Path = row->FieldByName("PATH").AsString();
    Security = row->FieldByName("SECURITY").AsInteger();
    state.Trace.Settings = record + "PATH \"" + Path + "\", USER_STRING \"" +
                           row->FieldByName("USER_STRING").AsString() + "\", SECURITY " +
                           std::to_string(Security);
  } catch (const std::exception& e) {
    // The flow decides on whatever the outputs hold; a failed lookup is not
    // reported to it, only traced.
    state.Trace.Settings = "settings " + std::to_string(SettingsId) + ": the lookup failed (" +
                           e.what() + "); the previous values stay";
  } catch (...) {
    state.Trace.Settings =
        "settings " + std::to_string(SettingsId) + ": the lookup failed; the previous values stay";
  }
}

}  // namespace login
