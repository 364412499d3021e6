#include "db/MySqlStoredProc.h"

#include "db/StoredProcCalls.h"

namespace db {

TMySqlStoredProc::TMySqlStoredProc(const std::string& ProcName, TCustomConnection* Connection,
                                   bool Debug)
    : msStoredProc(std::make_unique<TMSStoredProc>()) {
  msStoredProc->SetDebug(Debug);
  if (Connection) {
    auto* connection = dynamic_cast<TMSConnection*>(Connection);
    if (!connection) throw EInvalidCast();
    msStoredProc->SetConnection(connection);
  }
  msStoredProc->SetStoredProcName(ProcName);
  LoadAllParams();
}

TMySqlStoredProc::~TMySqlStoredProc() {
  msStoredProc->Close();
}

std::unique_ptr<TMySqlStoredProc> TMySqlStoredProc::Create(const std::string& ProcName,
                                                           TCustomConnection* Connection) {
  return std::make_unique<TMySqlStoredProc>(ProcName, Connection, false);
}

std::unique_ptr<TMySqlStoredProc> TMySqlStoredProc::CreateWithDebug(const std::string& ProcName,
                                                                    TCustomConnection* Connection) {
  return std::make_unique<TMySqlStoredProc>(ProcName, Connection, true);
}

void TMySqlStoredProc::LoadAllParams() {
  msStoredProc->Prepare();
  LoadParamsReturn();
}

void TMySqlStoredProc::LoadParamsReturn() {
  storedproc::MirrorParams(*msStoredProc, stlParams);
}

void TMySqlStoredProc::setParams(TParams& Params) {
  msStoredProc->Prepare();
  for (int i = 0; i < Params.Count(); ++i) {
    TParam& source = Params[i];
    TParam& target = msStoredProc->ParamByName(source.Name());
    // Only the value: the procedure's declared type stays, the driver converts.
    if (source.IsNull())
      target.Clear();
    else
      target.SetValue(source.Value());
  }
}

void TMySqlStoredProc::executeProc() {
  storedproc::Exec(*this, *msStoredProc, stlParams);
}

TDataSet* TMySqlStoredProc::OpenProc() {
  return storedproc::Open(*this, *msStoredProc, stlParams, true);
}

TDataSet* TMySqlStoredProc::OpenProcWidthOutClone() {
  return storedproc::Open(*this, *msStoredProc, stlParams, false);
}

void TMySqlStoredProc::getParamValue(const std::string& Name, std::string& Value) {
  Value = msStoredProc->ParamByName("@" + Name).AsString();
}

void TMySqlStoredProc::Close() {
  msStoredProc->Close();
}

}  // namespace db
