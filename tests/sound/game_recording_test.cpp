// A minute of play as a player hears it: the real game, scripted, at the default volumes (10 and
// 10), its sound recorded by SDL's "disk" driver into SDL_DISKAUDIOFILE (raw 16-bit stereo at
// 44100 Hz).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "ScriptedGame.h"
#include "sound_files.h"
#include "state.h"
#include "zyphora.h"

namespace {

constexpr unsigned long NEVER = ~0ul;
constexpr unsigned long GAME_FRAMES = 3600; // a minute at 60 frames a second
constexpr size_t AUDIO_PER_FRAME = 735;

// A player who keeps firing and sweeps the field, one direction every 1.5 s.
void play(ScriptedGame &game, unsigned long sinceStart) {
  static const int moves[][2] = {
      {VK_LEFT, VK_UP}, {VK_RIGHT, VK_UP}, {VK_RIGHT, VK_DOWN}, {VK_LEFT, VK_DOWN}};
  const auto &move = moves[(sinceStart / 90) % 4];
  game.setInput({{move[0], move[1], VK_SPACE}});
  myShip.shield = 10; // the player survives the minute: the game never fades out
}

} // namespace

TEST(GameRecording, AMinuteOfPlayAtDefaultVolumesNeverClipsAndTheMusicNeverStops) {
  const char *output = std::getenv("SDL_DISKAUDIOFILE");
  ASSERT_NE(nullptr, output);
  std::remove(output);
  ScriptedGame game;
  game.maxFrames = 4200;
  game.soundThroughSdl();
  unsigned long music = NEVER, started = NEVER;
  game.onFrame = [&](unsigned long f) {
    if (music == NEVER) music = game.firstFrame("snd_music", DsCall::Play, 1);
    if (music != NEVER && f == music + 10)
      game.setInput({{VK_RETURN}}); // play, once the music runs
    if (started == NEVER) started = game.firstFrame("snd_welcomegame", DsCall::Play);
    if (started == NEVER) return;
    if (f < started + GAME_FRAMES)
      play(game, f - started);
    else
      game.setInput(Input::closing());
  };
  EXPECT_EQ(0, game.runMain());
  EXPECT_FALSE(game.ranAway());
  EXPECT_EQ(0u, game.outOfStep());
  ASSERT_NE(NEVER, started);

  // The minute had what makes a mix loud: explosions, hits and shots over the music.
  EXPECT_GE(game.countCalls("snd_ennemyexplo", DsCall::Play), 5u);
  EXPECT_GE(game.countCalls("snd_shipshot", DsCall::Play), 150u);
  EXPECT_GE(game.countCalls("snd_alienArrival", DsCall::Play), 10u);

  const std::vector<int16_t> out = readRaw(output);
  const size_t frames = out.size() / 2;
  ASSERT_GE(frames, (started + GAME_FRAMES) * AUDIO_PER_FRAME);
  size_t clipped = 0;
  double sum = 0;
  for (int16_t s : out) {
    clipped += s >= 32767 || s <= -32767;
    sum += double(s) * s;
  }
  EXPECT_EQ(0u, clipped) << "full-scale samples in " << output;
  const double rmsDb = 20 * std::log10(std::sqrt(sum / double(out.size())) / 32768);
  EXPECT_GT(rmsDb, -30) << "the minute is too quiet to tell";

  // From a second after the music starts, the mix never falls silent, across the music's loop
  // point too (the stream tests check that point frame by frame).
  const size_t musicFrom = (music + 60) * AUDIO_PER_FRAME;
  ASSERT_GT(frames, musicFrom + 58 * 44100); // longer than the menu track (52 s)
  EXPECT_LE(longestSilence(out, musicFrom, frames - 4096), 4u);
}
