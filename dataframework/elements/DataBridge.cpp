#include "dataframework/elements/DataBridge.h"

#include <utility>

#include "platform/Exception.h"
#include "platform/PropInfo.h"

namespace dataframework {

const platform::TClass& TDataBridge::StaticClass() {
  using namespace platform;
  using B = TDataBridge;
  static const TClass Class(
      "TDataBridge", &TSingleton::StaticClass(), "DataElements",
      {BoolProp<B>("CanRead", &B::CanRead, &B::SetCanRead),
       BoolProp<B>("CanWrite", &B::CanWrite, &B::SetCanWrite),
       BoolProp<B>("ReuseParameters", &B::ReuseParameters),
       MethodProp<B, TOnBridgeDataEvent>(
           "OnReadDbData", "TOnBridgeDataEvent",
           [](const B& Bridge) { return Bridge.OnReadDbData; },
           [](B& Bridge, TOnBridgeDataEvent Handler) { Bridge.OnReadDbData = std::move(Handler); }),
       MethodProp<B, TOnBridgeDataEvent>(
           "OnWriteDbData", "TOnBridgeDataEvent",
           [](const B& Bridge) { return Bridge.OnWriteDbData; },
           [](B& Bridge, TOnBridgeDataEvent Handler) {
             Bridge.OnWriteDbData = std::move(Handler);
           })});
  return Class;
}

TDataBridge::TDataBridge(platform::TComponent* Owner) : TSingleton(Owner) {}

TDataBridge::~TDataBridge() = default;

int TDataBridge::ReadData() {
  return 0;
}

void TDataBridge::UpdateData(TDataTable*, TQuiltPatch*, platform::TInterruptable*) {
  throw platform::Exception(ClassName() + (FCanWrite
                                               ? ".UpdateData: Method not implemented"
                                               : ".UpdateData: Write is not allowed to this type "
                                                 "of DataBridge"));
}

void TDataBridge::DeleteData(TDataTable*, TQuiltPatch*, platform::TInterruptable*) {
  throw platform::Exception(ClassName() + (FCanWrite
                                               ? ".DeleteData: Method not implemented"
                                               : ".DeleteData: Write is not allowed to this type "
                                                 "of DataBridge"));
}

}  // namespace dataframework
