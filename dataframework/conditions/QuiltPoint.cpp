#include "dataframework/conditions/QuiltPoint.h"

namespace dataframework {

const TQuiltPoint& MinusInfinity() {
  static const TQuiltPoint Point{ZeroValue(), true, true};
  return Point;
}

const TQuiltPoint& PlusInfinity() {
  static const TQuiltPoint Point{ZeroValue(), false, true};
  return Point;
}

TQuiltPoint MakePoint(const TValue& Value, bool Closed) {
  return TQuiltPoint{Value, Closed, false};
}

TQuiltPoint ComplementPoint(const TQuiltPoint& P) {
  TQuiltPoint Result = P;
  if (!P.Infinite) Result.Closed = !P.Closed;
  return Result;
}

bool PointsEqual(const TDataType& Type, const TQuiltPoint& P, const TQuiltPoint& Q) {
  if (P.Closed != Q.Closed || P.Infinite != Q.Infinite) return false;
  return P.Infinite || Type.ValuesEqual(P.Value, Q.Value);
}

bool PointsEqual(const TQuiltPoint& P, const TQuiltPoint& Q) {
  if (P.Closed != Q.Closed || P.Infinite != Q.Infinite) return false;
  return P.Infinite || TypeOf(P.Value).ValuesEqual(P.Value, Q.Value);
}

int ComparePointValues(const TDataType& Type, const TQuiltPoint& P, const TQuiltPoint& Q) {
  if (P.Infinite) {
    if (Q.Infinite && Q.Closed == P.Closed) return 0;
    return P.Closed ? -1 : 1;
  }
  if (Q.Infinite) return Q.Closed ? 1 : -1;
  return Type.Compare(P.Value, Q.Value);
}

int CompareStartPoints(const TDataType& Type, const TQuiltPoint& P, const TQuiltPoint& Q) {
  if (P.Infinite) return Q.Infinite ? 0 : -1;
  if (Q.Infinite) return 1;
  int c = Type.Compare(P.Value, Q.Value);
  if (c != 0 || P.Closed == Q.Closed) return c;
  return P.Closed ? -1 : 1;
}

int CompareEndPoints(const TDataType& Type, const TQuiltPoint& P, const TQuiltPoint& Q) {
  if (P.Infinite) return Q.Infinite ? 0 : 1;
  if (Q.Infinite) return -1;
  int c = Type.Compare(P.Value, Q.Value);
  if (c != 0 || P.Closed == Q.Closed) return c;
  return P.Closed ? 1 : -1;
}

int CompareStartToEnd(const TDataType& Type, const TQuiltPoint& S, const TQuiltPoint& E) {
  if (S.Infinite && E.Infinite) return -1;
  int c = ComparePointValues(Type, S, E);
  if (c != 0) return c;
  return (S.Closed && E.Closed) ? 0 : 1;
}

int StartVsPrevEnd(const TDataType& Type, const TQuiltPoint& S, const TQuiltPoint& E) {
  int c = ComparePointValues(Type, S, E);
  if (c < 0) return 0;
  if (c > 0) return 2;
  return (!S.Closed && !E.Closed) ? 2 : 1;
}

}  // namespace dataframework
