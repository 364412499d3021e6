#include "db/StoredProcCalls.h"

namespace db::storedproc {

void MirrorParams(TOdbcStoredProc& Engine, TParams& Params) {
  Params.Clear();
  TParams& engine = Engine.Params();
  for (int i = 0; i < engine.Count(); ++i)
    Params.CreateParam(engine[i].DataType(), engine[i].Name(), engine[i].ParamType())
        .SetValue(engine[i].Value());
}

void Exec(TMyStoredProc& Wrapper, TOdbcStoredProc& Engine, TParams& Params) {
  Wrapper.setParams(Params);
  Engine.ExecProc();
  MirrorParams(Engine, Params);
}

TDataSet* Open(TMyStoredProc& Wrapper, TOdbcStoredProc& Engine, TParams& Params, bool LocalUpdate) {
  Wrapper.setParams(Params);
  Engine.Open();
  if (LocalUpdate) Engine.SetLocalUpdate(true);
  MirrorParams(Engine, Params);
  return &Engine;
}

}  // namespace db::storedproc
