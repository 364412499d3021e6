#include "dataframework/conditions/QuiltPoint.h"

#include "dataframework/Unbuilt.h"

namespace dataframework {

const TQuiltPoint& MinusInfinity() { CLAVIRA_UNBUILT(); }
const TQuiltPoint& PlusInfinity() { CLAVIRA_UNBUILT(); }
TQuiltPoint MakePoint(const TValue&, bool) { CLAVIRA_UNBUILT(); }
TQuiltPoint ComplementPoint(const TQuiltPoint&) { CLAVIRA_UNBUILT(); }
bool PointsEqual(const TDataType&, const TQuiltPoint&, const TQuiltPoint&) { CLAVIRA_UNBUILT(); }
bool PointsEqual(const TQuiltPoint&, const TQuiltPoint&) { CLAVIRA_UNBUILT(); }
int ComparePointValues(const TDataType&, const TQuiltPoint&, const TQuiltPoint&) { CLAVIRA_UNBUILT(); }
int CompareStartPoints(const TDataType&, const TQuiltPoint&, const TQuiltPoint&) { CLAVIRA_UNBUILT(); }
int CompareEndPoints(const TDataType&, const TQuiltPoint&, const TQuiltPoint&) { CLAVIRA_UNBUILT(); }
int CompareStartToEnd(const TDataType&, const TQuiltPoint&, const TQuiltPoint&) { CLAVIRA_UNBUILT(); }
int StartVsPrevEnd(const TDataType&, const TQuiltPoint&, const TQuiltPoint&) { CLAVIRA_UNBUILT(); }

}  // namespace dataframework
