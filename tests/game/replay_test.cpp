// The same seed and script replay the same game, frame for frame, through several levels.
#include <gtest/gtest.h>

#include "game_runs.h"

namespace {

const uint32_t SEED = 20261210;
const unsigned long FRAMES = 6000;

TEST(Replay, TheSameSeedAndScriptGiveTheSameGameEveryFrame) {
  ReplayResult first = replayGame(SEED, FRAMES);
  ReplayResult second = replayGame(SEED, FRAMES);
  ASSERT_FALSE(first.ranAway);
  ASSERT_EQ(first.digests.size(), FRAMES);
  ASSERT_EQ(second.digests.size(), FRAMES);
  EXPECT_GE(first.lastLevel, 3);
  EXPECT_GT(first.lastScore, 0);
  for (unsigned long f = 0; f < FRAMES; f++)
    ASSERT_EQ(first.digests[f], second.digests[f]) << "the games part at frame " << f;
  // The digest follows the game: it changes from frame to frame.
  EXPECT_NE(first.digests[100], first.digests[101]);
}

TEST(Replay, AnotherSeedGivesAnotherGame) {
  ReplayResult one = replayGame(SEED, 400);
  ReplayResult other = replayGame(SEED + 1, 400);
  ASSERT_EQ(one.digests.size(), 400u);
  ASSERT_EQ(other.digests.size(), 400u);
  EXPECT_NE(one.digests.back(), other.digests.back());
}

} // namespace
