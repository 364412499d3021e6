// Interval ends of quilt fields and their comparisons.
//
// A TQuiltPoint is a finite value, closed (the value belongs to the
// interval) or open, or an infinite end: Infinite set, Value ZeroValue()
// (never compared), Closed true for minus infinity and false for plus
// infinity. A TQuiltValueItem is one interval [Start, End] with such ends.
//
// The comparisons order finite values by a data type's Compare (the type of
// the quilt field that holds the points) and answer a negative, zero or
// positive number. Each is a plain function of its arguments.
#pragma once

#include "dataframework/types/DataTypeCore.h"

namespace dataframework {

struct TQuiltPoint {
  TValue Value;
  bool Closed = false;
  bool Infinite = false;
};

struct TQuiltValueItem {
  TQuiltPoint StartPoint;
  TQuiltPoint EndPoint;
};

// (ZeroValue, closed, infinite) and (ZeroValue, open, infinite); made on
// first use, alive for the whole run.
const TQuiltPoint& MinusInfinity();
const TQuiltPoint& PlusInfinity();

// A finite point.
TQuiltPoint MakePoint(const TValue& Value, bool Closed);
// An infinite point unchanged; a finite one with Closed inverted (the end
// just before a closed start is open, and so on).
TQuiltPoint ComplementPoint(const TQuiltPoint& P);
// Same Closed, same Infinite, and for finite points equal values (Type's
// ValuesEqual).
bool PointsEqual(const TDataType& Type, const TQuiltPoint& P, const TQuiltPoint& Q);
// PointsEqual on the type of P's value (Q's when P is infinite).
bool PointsEqual(const TQuiltPoint& P, const TQuiltPoint& Q);

// Values only: infinities below / above every finite value, equal to
// themselves.
int ComparePointValues(const TDataType& Type, const TQuiltPoint& P, const TQuiltPoint& Q);
// Both read as interval starts: any infinite start is the smallest; on
// equal values the closed start is the smaller one.
int CompareStartPoints(const TDataType& Type, const TQuiltPoint& P, const TQuiltPoint& Q);
// Both read as interval ends: any infinite end is the largest; on equal
// values the closed end is the larger one.
int CompareEndPoints(const TDataType& Type, const TQuiltPoint& P, const TQuiltPoint& Q);
// A start against an end: positive means the interval [S, E] is empty
// (S above E, or equal values with an open end). Two infinite ends: negative.
int CompareStartToEnd(const TDataType& Type, const TQuiltPoint& S, const TQuiltPoint& E);
// A start against the end of the preceding interval: 0 when S's value lies
// below E's; equal values: 1, or 2 when both are open; 2 when S lies above.
// Below 2 means the two intervals overlap or touch (merge them).
int StartVsPrevEnd(const TDataType& Type, const TQuiltPoint& S, const TQuiltPoint& E);

}  // namespace dataframework
