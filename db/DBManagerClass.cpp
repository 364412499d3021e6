#include "db/DBManagerClass.h"

#include <cctype>

#include "db/MyOracleStoredProc.h"
#include "db/MySqlStoredProc.h"
#include "db/OracleAccess.h"
#include "db/SqlServerAccess.h"
#include "db/Vesquin.h"

namespace db {
namespace {

// Connection strings come from a 255-character buffer; anything far longer
// is not a connection string, and the colon search over it is quadratic.
constexpr size_t kMaxConnectionString = 4096;

// A small backtracking matcher for the patterns that split connection
// strings. Recursion depth is the number of atoms, not the text length.
class TPattern {
 public:
  explicit TPattern(const std::string& pattern) { Parse(pattern); }

  // Length of the match at `pos`, or -1. Greedy quantifiers, first match wins.
  long MatchAt(const std::string& text, size_t pos) const { return Match(text, 0, pos); }

 private:
  struct TAtom {
    enum { kLiteral, kAny, kClass } kind = kLiteral;
    unsigned char ch = 0;
    bool negate = false;
    std::vector<std::pair<unsigned char, unsigned char>> ranges;
    size_t min = 1, max = 1;  // max == npos: unbounded
  };

  static unsigned char Fold(unsigned char c) { return static_cast<unsigned char>(std::tolower(c)); }

  static bool Accepts(const TAtom& a, unsigned char c) {
    switch (a.kind) {
      case TAtom::kAny:
        return c != '\n';
      case TAtom::kLiteral:
        return Fold(c) == Fold(a.ch);
      default: {
        bool in = false;
        for (auto [lo, hi] : a.ranges) {
          if ((c >= lo && c <= hi) || (Fold(c) >= Fold(lo) && Fold(c) <= Fold(hi)) ||
              (std::toupper(c) >= lo && std::toupper(c) <= hi)) {
            in = true;
            break;
          }
        }
        return in != a.negate;
      }
    }
  }

  [[noreturn]] static void Invalid(const std::string& pattern) {
    throw platform::Exception("Invalid pattern '" + pattern + "'");
  }

  void Parse(const std::string& p) {
    for (size_t i = 0; i < p.size(); ++i) {
      char c = p[i];
      if (c == '*' || c == '+' || c == '?') {
        if (FAtoms.empty() || FQuantified.back()) Invalid(p);
        TAtom& a = FAtoms.back();
        a.min = c == '+' ? 1 : 0;
        a.max = c == '?' ? 1 : std::string::npos;
        FQuantified.back() = true;
        continue;
      }
      TAtom a;
      if (c == '\\') {
        if (++i >= p.size()) Invalid(p);
        a.ch = static_cast<unsigned char>(p[i]);
      } else if (c == '.') {
        a.kind = TAtom::kAny;
      } else if (c == '[') {
        a.kind = TAtom::kClass;
        size_t j = i + 1;
        if (j < p.size() && p[j] == '^') {
          a.negate = true;
          ++j;
        }
        bool first = true;
        for (;; first = false) {
          if (j >= p.size()) Invalid(p);
          if (p[j] == ']' && !first) break;
          unsigned char lo = static_cast<unsigned char>(p[j]);
          if (p[j] == '\\') {
            if (++j >= p.size()) Invalid(p);
            lo = static_cast<unsigned char>(p[j]);
          }
          ++j;
          unsigned char hi = lo;
          if (j + 1 < p.size() && p[j] == '-' && p[j + 1] != ']') {
            hi = static_cast<unsigned char>(p[j + 1]);
            j += 2;
            if (hi < lo) Invalid(p);
          }
          a.ranges.emplace_back(lo, hi);
        }
        i = j;
      } else if (std::string_view("()|{}^$").find(c) != std::string_view::npos) {
        Invalid(p);
      } else {
        a.ch = static_cast<unsigned char>(c);
      }
      FAtoms.push_back(std::move(a));
      FQuantified.push_back(false);
    }
  }

  long Match(const std::string& text, size_t k, size_t pos) const {
    if (k == FAtoms.size()) return static_cast<long>(pos);
    const TAtom& a = FAtoms[k];
    size_t n = 0;
    while (n < a.max && pos + n < text.size() &&
           Accepts(a, static_cast<unsigned char>(text[pos + n])))
      ++n;
    for (size_t c = n + 1; c-- > a.min;) {
      long end = Match(text, k + 1, pos + c);
      if (end >= 0) return end;
    }
    return -1;
  }

  std::vector<TAtom> FAtoms;
  std::vector<bool> FQuantified;
};

std::unique_ptr<TDBManager>& Instance() {
  static std::unique_ptr<TDBManager> instance;
  return instance;
}

}  // namespace

void SplitByPattern(const std::string& Pattern, const std::string& Text,
                    std::vector<std::string>& Items) {
  TPattern pattern(Pattern);
  size_t pos = 0;
  while (pos < Text.size()) {
    long end = pattern.MatchAt(Text, pos);
    if (end > static_cast<long>(pos)) {
      Items.push_back(Text.substr(pos, end - pos));
      pos = static_cast<size_t>(end);
    } else {
      ++pos;  // no non-empty match starts here
    }
  }
}

bool ExtractWord(int N, const std::string& Text, const std::string& Delimiters, char Quote,
                 std::string& Word) {
  auto isDelimiter = [&](char c) { return Delimiters.find(c) != std::string::npos; };
  size_t i = 0;
  for (int count = 1; N >= 1; ++count) {
    while (i < Text.size() && isDelimiter(Text[i])) ++i;
    if (i >= Text.size()) return false;
    size_t start = i;
    bool quoted = false;
    for (; i < Text.size(); ++i) {
      if (Text[i] == Quote)
        quoted = !quoted;
      else if (!quoted && isDelimiter(Text[i]))
        break;
    }
    if (count == N) {
      Word = Text.substr(start, i - start);
      return true;
    }
  }
  return false;
}

TOleDbConnection ParseOleDbConnection(const std::vector<std::string>& Items) {
  TOleDbConnection result;
  const std::pair<const char*, std::string*> keys[] = {{"User ID", &result.User},
                                                       {"Password", &result.Password},
                                                       {"Data Source", &result.Server},
                                                       {"Initial Catalog", &result.Database}};
  for (const std::string& item : Items)
    for (const auto& [key, target] : keys)
      if (item.find(key) != std::string::npos) ExtractWord(2, item, "=", '*', *target);
  return result;
}

TOracleConnection ParseOracleConnection(const std::vector<std::string>& Items) {
  if (Items.size() < 3)
    throw platform::EListError(
        platform::FormatMessage("List index out of bounds (%d)", {std::to_string(Items.size())}));
  return {Items[0], Items[1], Items[2]};
}

TDBManager::~TDBManager() = default;

void TDBManager::OpenConnection(const std::string& ConnectionString, const std::string& Engine) {
  FEngine = Engine;
  FLanguage = LoadIdioma();
  if ((FEngine == "SQL" || FEngine == "ORACLE") && ConnectionString.size() > kMaxConnectionString)
    throw EDatabaseError("Connection string too long");
  if (FEngine == "SQL") {
    std::vector<std::string> items;
    SplitByPattern("[^\\;]*", ConnectionString, items);
    TOleDbConnection values = ParseOleDbConnection(items);
    auto connection = std::make_unique<TMSConnection>();
    TMSConnection& c = *connection;
    FConnection = std::move(connection);
    c.SetLoginPrompt(false);
    c.SetServer(values.Server);
    c.SetUsername(values.User);
    c.SetPassword(values.Password);
    c.SetDatabase(values.Database);
    c.Connect();
  }
  if (FEngine == "ORACLE") {
    std::vector<std::string> items;
    SplitByPattern("[^/@]*", ConnectionString, items);
    TOracleConnection values = ParseOracleConnection(items);
    auto session = std::make_unique<TOraSession>();
    TOraSession& s = *session;
    FConnection = std::move(session);
    s.SetLoginPrompt(false);
    s.SetUsername(values.User);
    s.SetPassword(values.Password);
    s.SetServer(values.Server);
    s.SetAutoCommit(true);
    items.clear();
    SplitByPattern("[^:]*:[^:]*:[^:]*", values.Server, items);
    s.SetDirect(!items.empty());
    s.Connect();
  }
}

std::unique_ptr<TMyStoredProc> TDBManager::CreateStoredProc(const std::string& ProcName) {
  if (FEngine == "SQL") return TMySqlStoredProc::Create(ProcName, FConnection.get());
  return TMyOracleStoredProc::Create(ProcName, FConnection.get());
}

TDBManager* DBManager() {
  auto& instance = Instance();
  if (!instance) instance = std::make_unique<TDBManager>();
  return instance.get();
}

void FreeDBManager() {
  Instance().reset();
}

}  // namespace db
