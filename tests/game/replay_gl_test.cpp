// The game never depends on the renderer: the same replay on Direct3D and on OpenGL gives the
// same state every frame, and pictures that agree within a small tolerance.
#include <gtest/gtest.h>

#include <cstdlib>

#include "game_runs.h"

namespace {

const uint32_t SEED = 20261210;
const unsigned long FRAMES = 6000;

// The software Direct3D device runs without a display (on one it would wait for each vertical
// blank); OpenGL needs the X display. Each run opens the video system afresh.
ReplayResult replayOn(const char *renderer, const char *videoDriver,
                      const std::vector<unsigned long> &captureAt) {
  setenv("ZYPHORA_RENDERER", renderer, 1);
  if (videoDriver) setenv("SDL_VIDEODRIVER", videoDriver, 1);
  ReplayResult result = replayGame(SEED, FRAMES, captureAt);
  unsetenv("ZYPHORA_RENDERER");
  unsetenv("SDL_VIDEODRIVER");
  return result;
}

TEST(ReplayAcrossRenderers, SameStateEveryFrameAndMatchingPictures) {
  // The veil, the first aliens, a full field, the end of level 1, level 3.
  const std::vector<unsigned long> at = {2, 400, 1500, 2100, 4500};
  ReplayResult d3d = replayOn("direct3d", "dummy", at);
  ReplayResult gl = replayOn("opengl", nullptr, at);
  ASSERT_EQ(d3d.digests.size(), FRAMES);
  ASSERT_EQ(gl.digests.size(), FRAMES);
  EXPECT_GE(gl.lastLevel, 3);
  for (unsigned long f = 0; f < FRAMES; f++)
    ASSERT_EQ(d3d.digests[f], gl.digests[f]) << "the renderers' games part at frame " << f;
  for (unsigned long f : at) {
    ASSERT_EQ(d3d.shots[f].width, 480) << f;
    ASSERT_EQ(gl.shots[f].width, 480) << f;
    double difference = meanChannelDifference(d3d.shots[f], gl.shots[f]);
    EXPECT_GE(difference, 0) << f;
    EXPECT_LT(difference, 3.0) << "frame " << f;
  }
  // Not two black pictures: the lit background shows.
  const Frame &shot = d3d.shots[400];
  uint64_t sum = 0;
  for (uint32_t p : shot.pixels) sum += (p >> 8) & 0xFF;
  EXPECT_GT(sum / shot.pixels.size(), 10u);
}

} // namespace
