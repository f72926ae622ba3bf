#ifndef KSPLINE_H
#define KSPLINE_H

// A point of a curve; only x and y take part in the evaluation.
struct KPoint {
  double x;
  double y;
  double coefx;
  double coefy;
};

// Quadratic Bezier evaluator without state: the curve starts at controlP3 (position 0),
// ends at controlP1 (position 1) and is pulled toward controlP2.
class KSpline {
public:
  KSpline();
  ~KSpline();

  // Writes the curve point for position into kPoint->x and ->y (nothing when kPoint is null).
  // The position is not clamped: values outside 0..1 extrapolate.
  void getPointFromCtrlPoint(KPoint *kPoint, KPoint *controlP1, KPoint *controlP2,
                             KPoint *controlP3, double position);
};

#endif
