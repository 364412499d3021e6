// The calls both engine wrappers (TMySqlStoredProc, TMyOracleStoredProc)
// make the same way around their engine's procedure object: the wrapper's
// parameters go in through its own setParams, the procedure runs or opens,
// and the parameters as the engine left them (output values included) come
// back into the wrapper's list.
#pragma once

#include "db/DataSet.h"
#include "db/MyStoredProc.h"
#include "db/OdbcStoredProc.h"
#include "db/Params.h"

namespace db::storedproc {

// Params := a copy of the engine's parameters (type, name, direction, value).
void MirrorParams(TOdbcStoredProc& Engine, TParams& Params);
// Runs the procedure without a result set.
void Exec(TMyStoredProc& Wrapper, TOdbcStoredProc& Engine, TParams& Params);
// Opens the procedure's result set (owned by Engine); LocalUpdate lets the
// rows be edited.
TDataSet* Open(TMyStoredProc& Wrapper, TOdbcStoredProc& Engine, TParams& Params, bool LocalUpdate);

}  // namespace db::storedproc
