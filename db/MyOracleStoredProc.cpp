#include "db/MyOracleStoredProc.h"

#include "db/StoredProcCalls.h"

namespace db {
namespace {

TOraSession* AsSession(TCustomConnection* connection) {
  if (!connection) return nullptr;
  auto* session = dynamic_cast<TOraSession*>(connection);
  if (!session) throw EInvalidCast();
  return session;
}

}  // namespace

TMyOracleStoredProc::TMyOracleStoredProc(const std::string& ProcName, TCustomConnection* Connection,
                                         bool Debug)
    : oraStoredProc(std::make_unique<TOraStoredProc>()) {
  oraStoredProc->SetDebug(Debug);
  oraStoredProc->SetSession(AsSession(Connection));
  oraStoredProc->SetStoredProcName(ProcName);
  LoadAllParams();
}

TMyOracleStoredProc::~TMyOracleStoredProc() {
  oraStoredProc->UnPrepare();
  oraStoredProc->Close();
}

std::unique_ptr<TMyOracleStoredProc> TMyOracleStoredProc::Create(const std::string& ProcName,
                                                                 TCustomConnection* Connection) {
  return std::make_unique<TMyOracleStoredProc>(ProcName, Connection, false);
}

std::unique_ptr<TMyOracleStoredProc> TMyOracleStoredProc::CreateWithDebug(
    const std::string& ProcName, TCustomConnection* Connection) {
  return std::make_unique<TMyOracleStoredProc>(ProcName, Connection, true);
}

void TMyOracleStoredProc::DescribeSwallowed() {
  // An unknown procedure or a missing session leaves the list as it is; the
  // first parameter set then reports "Parameter '...' not found", and so does
  // a session never connected. An error of the database itself (it carries a
  // SQLSTATE: the server is gone, the lost connection cannot be reopened) is
  // the real reason and goes to the caller, as on the SQL engine.
  try {
    oraStoredProc->Prepare();
  } catch (const EDatabaseError& e) {
    if (!e.SqlState().empty()) throw;
  } catch (const platform::Exception&) {
  }
}

void TMyOracleStoredProc::LoadAllParams() {
  DescribeSwallowed();
  LoadParamsReturn();
}

void TMyOracleStoredProc::LoadParamsReturn() {
  storedproc::MirrorParams(*oraStoredProc, stlParams);
}

void TMyOracleStoredProc::retrieveParams() {
  oraStoredProc->Open();
}

void TMyOracleStoredProc::setParams(TParams& Params) {
  DescribeSwallowed();
  for (int i = 0; i < Params.Count(); ++i) {
    TParam& source = Params[i];
    TParam& target = oraStoredProc->ParamByName(source.Name());
    if (target.DataType() != ftOraClob) target.SetDataType(source.DataType());
    if (source.IsNull()) {
      target.Clear();
      continue;
    }
    if (target.DataType() != ftOraClob) {
      target.SetValue(source.Value());
    } else {
      // The text goes as a temporary large object: any length, sent in
      // pieces when the procedure runs.
      target.SetValue(source.AsString());
    }
  }
}

void TMyOracleStoredProc::executeProc() {
  storedproc::Exec(*this, *oraStoredProc, stlParams);
}

TDataSet* TMyOracleStoredProc::OpenProc() {
  return storedproc::Open(*this, *oraStoredProc, stlParams, true);
}

TDataSet* TMyOracleStoredProc::OpenProcWidthOutClone() {
  return storedproc::Open(*this, *oraStoredProc, stlParams, false);
}

void TMyOracleStoredProc::getParamValue(const std::string& Name, std::string& Value) {
  Value = oraStoredProc->ParamByName(Name).AsString();
}

TDataSet* TMyOracleStoredProc::Clone(TDataSet* DataSet, std::unique_ptr<TMemDataSet>& Copy) {
  if (!DataSet || DataSet->CanModify()) return DataSet;
  Copy = std::make_unique<TMemDataSet>();
  Copy->LoadFromDataSet(*DataSet);
  return Copy.get();
}

TDataSet* TMyOracleStoredProc::LoadWithOutPrepare(const std::string& ProcName,
                                                  TCustomConnection* Connection) {
  oraStoredProc = std::make_unique<TOraStoredProc>();
  oraStoredProc->SetSession(AsSession(Connection));
  oraStoredProc->SetStoredProcName(ProcName);
  oraStoredProc->Prepare();
  return oraStoredProc.get();
}

void TMyOracleStoredProc::Close() {
  oraStoredProc->Close();
  oraStoredProc->UnPrepare();
}

}  // namespace db
