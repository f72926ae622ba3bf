// The output limiter's curve: untouched below its threshold, never full scale above it, smooth
// and monotonic everywhere.
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "dsound_limiter.h"
#include "dsound_mixer.h"

TEST(Limiter, BelowTheThresholdEverySamplePassesBitForBit) {
  std::mt19937 random(11);
  std::uniform_real_distribution<float> level(-zy::kLimitThreshold, zy::kLimitThreshold);
  std::vector<float> mix(2 * 4096);
  for (float &s : mix) s = level(random);
  const float edges[] = {0.0f, -0.0f, zy::kLimitThreshold, -zy::kLimitThreshold, 1e-40f, -1e-40f};
  std::copy(std::begin(edges), std::end(edges), mix.begin());
  std::vector<float> limited = mix;
  zy::limitPeaks(limited.data(), 4096);
  EXPECT_EQ(std::memcmp(mix.data(), limited.data(), mix.size() * sizeof(float)), 0);
  // So the 16-bit output is the mixer's own there.
  std::vector<int16_t> direct(mix.size()), through(mix.size());
  zy::mixToPcm16(mix.data(), direct.data(), 4096);
  zy::mixToPcm16(limited.data(), through.data(), 4096);
  EXPECT_EQ(direct, through);
}

TEST(Limiter, AboveTheThresholdNeverReachesFullScale) {
  const float loud[] = {
      0.7001f, 0.8f, 1.0f, 1.5f, 4.0f, 16.0f, 1e6f, 1e30f, std::numeric_limits<float>::infinity()};
  for (float x : loud) {
    for (float s : {x, -x}) {
      const float y = zy::limitSample(s);
      EXPECT_GT(std::fabs(y), zy::kLimitThreshold) << s;
      EXPECT_LE(std::fabs(y), zy::kLimitCeiling) << s;
      EXPECT_EQ(std::signbit(y), std::signbit(s)) << s;
      float in[2] = {s, s}, out[2] = {y, y};
      int16_t pcm[2];
      zy::limitPeaks(in, 1);
      EXPECT_EQ(std::memcmp(in, out, sizeof in), 0);
      zy::mixToPcm16(in, pcm, 1);
      EXPECT_LT(std::abs(int(pcm[0])), 32767) << s;
    }
  }
  // Louder in, louder out, up to the end of what a pile-up of sounds can reach.
  EXPECT_LT(zy::limitSample(1.0f), zy::limitSample(1.5f));
  EXPECT_LT(zy::limitSample(1.5f), zy::limitSample(2.5f));
}

// A sweep in steps of 1/10000 through both knees: the output never falls, never moves faster
// than the input (no jump, no corner to click on), and leaves the straight line gently.
TEST(Limiter, TheCurveIsContinuousMonotonicAndSoftAtTheKnee) {
  const float step = 1e-4f;
  float xBefore = -4.0f, before = zy::limitSample(xBefore);
  for (int i = 1; i <= 80000; ++i) {
    const float x = -4.0f + float(i) * step;
    const float y = zy::limitSample(x);
    ASSERT_GE(y, before) << x;
    ASSERT_LE(y - before, (x - xBefore) + 1e-6f) << x;
    xBefore = x;
    before = y;
  }
  const float t = zy::kLimitThreshold;
  EXPECT_NEAR(zy::limitSample(t + 0.01f), t + 0.01f, 1e-5f); // a hundredth over: barely bent
  const float slope = (zy::limitSample(t + 0.002f) - zy::limitSample(t + 0.001f)) / 0.001f;
  EXPECT_GT(slope, 0.99f);
  EXPECT_LT(zy::limitSample(1.0f), 0.95f); // well over: well bent
}
