#include <gtest/gtest.h>

#include "random.h"

// The generator is the classic portable one: its first draws after seeding with 1 are known.
TEST(GameRandom, SeedOneGivesTheWellKnownSequence) {
  gameSrand(1);
  const int expected[] = {16838, 5758, 10113, 17515, 31051, 5627, 23010, 7419, 16212, 4086};
  for (int value : expected) EXPECT_EQ(value, gameRand());
}

TEST(GameRandom, StateStepsModulo2To32AndReturnsBits16To30) {
  gameSrand(0xFFFFFFFFul);
  const uint32_t next = 0xFFFFFFFFu * 1103515245u + 12345u;
  EXPECT_EQ(static_cast<int>((next >> 16) & 0x7FFF), gameRand());
  EXPECT_EQ(next, gameRandState());
}

TEST(GameRandom, OnlyTheLow32BitsOfTheSeedCount) {
  gameSrand(0x100000007ull & 0xFFFFFFFFFFull);
  const int a = gameRand();
  gameSrand(7);
  EXPECT_EQ(a, gameRand());
}

TEST(GameRandom, ReseedingRepeatsTheSequenceAndValuesStayInRange) {
  gameSrand(123456);
  int first[100];
  for (int &v : first) {
    v = gameRand();
    ASSERT_GE(v, 0);
    ASSERT_LE(v, GAME_RAND_MAX);
  }
  gameSrand(123456);
  for (int v : first) EXPECT_EQ(v, gameRand());
}
