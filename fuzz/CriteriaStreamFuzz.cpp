// Reads arbitrary bytes as the text form of a condition, the way every
// reader does (ReadHeader, then the class's reader), with registered fields
// of several data types named A to G. The only errors allowed are those of
// the text form: "Invalid stream format!", the class-not-found error and the
// assertion failures of the readers (a field name that is not registered).
// A criteria that was read must write itself and read back equal.
// Anything else, a crash, a leak or a hang, is a finding.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "dataframework/conditions/Criteria.h"
#include "dataframework/elements/DataElements.h"
#include "dataframework/types/DataTypes.h"
#include "dataframework/types/DateTimeTypes.h"
#include "dataframework/types/NumericTypes.h"
#include "dataframework/types/TextTypes.h"
#include "platform/ClassRegistry.h"
#include "platform/Errors.h"

namespace df = dataframework;

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

// The fields the inputs may name; made once, alive for the whole run.
struct TFields {
  std::vector<std::unique_ptr<df::TDataField>> Fields;
  TFields() {
    Fields.push_back(df::TDataField::CreateField("A", df::IntegerType()));
    Fields.push_back(df::TDataField::CreateField("B", df::DoubleType()));
    Fields.push_back(df::TDataField::CreateField("C", df::StringType(20, true)));
    Fields.push_back(df::TDataField::CreateField("D", df::DateType()));
    Fields.push_back(df::TDataField::CreateField("E", df::StringType(10, false)));
    Fields.back()->SetDisableIntervals(true);
    Fields.push_back(df::TDataField::CreateField("F", df::CurrencyType()));
    Fields.push_back(df::TDataField::CreateField("G", df::BooleanType()));
  }
};

bool AllowedError(const platform::Exception& e) {
  return e.Message() == "Invalid stream format!" ||
         dynamic_cast<const platform::EClassNotFound*>(&e) != nullptr ||
         dynamic_cast<const platform::EAssertionFailed*>(&e) != nullptr;
}

std::unique_ptr<df::TCondition> Read(std::istream& In) {
  const df::TConditionClass* cls = nullptr;
  if (!df::TCondition::ReadHeader(In, cls) || cls == nullptr) return nullptr;
  return cls->CreateFromStream(In);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  static TFields fields;
  std::istringstream in(std::string(reinterpret_cast<const char*>(Data), Size));
  std::unique_ptr<df::TCondition> read;
  try {
    read = Read(in);
  } catch (const platform::Exception& e) {
    Check(AllowedError(e));
    return 0;
  }
  if (read == nullptr) return 0;
  // Only the criteria classes are registered readers.
  Check(dynamic_cast<df::TNiceCondition*>(read.get()) != nullptr);
  std::stringstream written;
  read->WriteToStream(written, 0);
  std::unique_ptr<df::TCondition> again = Read(written);
  Check(again != nullptr && again->IsEqual(*read) && read->IsEqual(*again));
  return 0;
}
