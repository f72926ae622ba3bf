#ifndef ZY_DSOUND_LIMITER_H
#define ZY_DSOUND_LIMITER_H

// The limiter on the mixer's final output: a fixed soft-knee curve, sample by sample. A sample
// within the threshold passes unchanged, bit for bit; above it the curve leaves the straight
// line without a corner (slope 1 at the threshold) and bends toward the ceiling, which no input
// reaches, so the 16-bit output never touches full scale however many sounds pile up.
//
// A curve rather than a gain that follows the level: it has no memory, so it cannot pump (no
// gain stays lowered after a peak, nothing breathes in the music after an explosion), and the
// quiet samples around a loud one are never touched. What it costs is a little distortion of
// the samples above the threshold, which mastered sounds reach only when many land together.

#include <cstddef>

namespace zy {

const float kLimitThreshold = 0.7f; // about -3 dBFS: the curve starts here
const float kLimitCeiling = 0.99f;  // and approaches this, about -0.1 dBFS

float limitSample(float sample);
// Limits interleaved stereo in place.
void limitPeaks(float *stereo, size_t frames);

} // namespace zy

#endif
