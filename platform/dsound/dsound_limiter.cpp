#include "dsound_limiter.h"

#include <cmath>

namespace zy {

// Above the threshold: threshold + room * tanh(excess / room), with room the distance to the
// ceiling. tanh starts with slope 1 and flattens toward 1, so the curve joins the straight line
// smoothly and stays under the ceiling.
float limitSample(float sample) {
  const float magnitude = std::fabs(sample);
  if (!(magnitude > kLimitThreshold)) return sample;
  const float room = kLimitCeiling - kLimitThreshold;
  const float limited = kLimitThreshold + room * std::tanh((magnitude - kLimitThreshold) / room);
  return sample < 0 ? -limited : limited;
}

void limitPeaks(float *stereo, size_t frames) {
  for (size_t i = 0; i < 2 * frames; ++i) stereo[i] = limitSample(stereo[i]);
}

} // namespace zy
