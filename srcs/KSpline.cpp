#include "KSpline.h"

KSpline::KSpline() {}
KSpline::~KSpline() {}

void KSpline::getPointFromCtrlPoint(KPoint *kPoint, KPoint *controlP1, KPoint *controlP2,
                                    KPoint *controlP3, double position) {
  if (!kPoint) return;
  double t = position;
  double b1 = t * t, b2 = 2 * t * (1 - t), b3 = (1 - t) * (1 - t);
  kPoint->x = controlP2->x * b2 + controlP1->x * b1 + controlP3->x * b3;
  kPoint->y = controlP2->y * b2 + controlP1->y * b1 + controlP3->y * b3;
}
