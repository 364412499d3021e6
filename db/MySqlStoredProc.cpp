#include "db/MySqlStoredProc.h"

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
  stlParams.Clear();
  TParams& engine = msStoredProc->Params();
  for (int i = 0; i < engine.Count(); ++i)
    stlParams.CreateParam(engine[i].DataType(), engine[i].Name(), engine[i].ParamType())
        .SetValue(engine[i].Value());
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
  setParams(stlParams);
  msStoredProc->ExecProc();
  LoadParamsReturn();
}

TDataSet* TMySqlStoredProc::OpenProc() {
  setParams(stlParams);
  msStoredProc->Open();
  msStoredProc->SetLocalUpdate(true);
  LoadParamsReturn();
  return msStoredProc.get();
}

TDataSet* TMySqlStoredProc::OpenProcWidthOutClone() {
  setParams(stlParams);
  msStoredProc->Open();
  LoadParamsReturn();
  return msStoredProc.get();
}

void TMySqlStoredProc::getParamValue(const std::string& Name, std::string& Value) {
  Value = msStoredProc->ParamByName("@" + Name).AsString();
}

void TMySqlStoredProc::Close() {
  msStoredProc->Close();
}

}  // namespace db
