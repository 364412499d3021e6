// TDataBridge: a table's link to a database. This system reads and writes
// through no database: the base reads nothing and refuses writes; bridge
// subclasses implement ReadData / UpdateData / DeleteData and may use the two
// value-conversion events on the way from and to the database.
//
// Ownership: a bridge owns nothing; tables borrow it.
#pragma once

#include <functional>

#include "dataframework/conditions/ConditionsFwd.h"
#include "dataframework/elements/ElementsFwd.h"
#include "dataframework/elements/Singleton.h"
#include "dataframework/types/DataTypeCore.h"

namespace platform {
class TInterruptable;
}

namespace dataframework {

// Converts one value on its way between the database and a row.
using TOnBridgeDataEvent = std::function<void(const TDataType* DataType, TValue& Value)>;

class TDataBridge : public TSingleton {
  CLAVIRA_DECLARE_CLASS()

 public:
  explicit TDataBridge(platform::TComponent* Owner);
  ~TDataBridge() override;

  // ---- Virtual operations, in their fixed order.
  // 1: reads nothing; answers 0.
  virtual int ReadData();
  // 2: raises "<class>.UpdateData: Write is not allowed to this type of
  // DataBridge" (CanWrite false) or "<class>.UpdateData: Method not
  // implemented" (CanWrite true).
  virtual void UpdateData(TDataTable* Table, TQuiltPatch* Patch,
                          platform::TInterruptable* Progress);
  // 3: as UpdateData with ".DeleteData: ...".
  virtual void DeleteData(TDataTable* Table, TQuiltPatch* Patch,
                          platform::TInterruptable* Progress);

  bool CanRead() const { return FCanRead; }
  void SetCanRead(bool Value) { FCanRead = Value; }
  bool CanWrite() const { return FCanWrite; }
  void SetCanWrite(bool Value) { FCanWrite = Value; }
  bool ReuseParameters() const { return FReuseParameters; }

  TOnBridgeDataEvent OnReadDbData;
  TOnBridgeDataEvent OnWriteDbData;

 protected:
  void SetReuseParameters(bool Value) { FReuseParameters = Value; }

 private:
  bool FCanRead = false;
  bool FCanWrite = false;
  bool FReuseParameters = false;
};

}  // namespace dataframework
