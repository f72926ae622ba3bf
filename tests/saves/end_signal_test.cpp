// SIGINT, SIGTERM and SIGHUP through the game's own launch: each ends the game as closing its
// window does, on the frame it arrives, and the preferences are saved; a game's high-score entry
// is on disk as soon as it is made.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>
#include <vector>

#include "ScriptedGame.h"
#include "launch.h"
#include "state.h"
#include "zyphora.h"

namespace {

const unsigned long NEVER = ~0ul;

// The game started as from a desktop or a terminal: every ending signal at its default.
int launch() {
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) std::signal(signal, SIG_DFL);
  char name[] = "zyphora";
  char *argv[] = {name, nullptr};
  return launchZyphora(1, argv);
}

int32_t fileField(const std::vector<unsigned char> &bytes, size_t field) {
  uint32_t v = 0;
  for (int b = 3; b >= 0; b--) v = v << 8 | bytes.at(field * 4 + b);
  return static_cast<int32_t>(v);
}

} // namespace

TEST(EndSignal, EachEndsTheMenuOnTheFrameItArrivesAndTheFileIsWritten) {
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    ScriptedGame game;
    game.onFrame = [&](unsigned long f) {
      if (f == 20) raise(signal);
    };
    EXPECT_EQ(0, launch()) << signal;
    EXPECT_EQ(21u, game.frames()) << signal;
    const auto saved = game.readPrefsFile();
    ASSERT_EQ(56u, saved.size()) << signal;
    EXPECT_EQ(3000, fileField(saved, 2));
  }
}

TEST(EndSignal, AHangUpAfterAGamesEntryKeepsTheEntry) {
  ScriptedGame game;
  lastHighscore = -1;
  unsigned long entered = NEVER, shieldGone = NEVER;
  std::vector<unsigned char> onDiskAtEntry;
  game.onFrame = [&](unsigned long f) {
    if (f == 2) game.setInput({{VK_RETURN}});
    if (f == 3) game.setInput({});
    if (shieldGone == NEVER && game.firstFrame("snd_welcomegame", DsCall::Play) != NEVER) {
      gScore = 2500; // a last hit, with a score that enters the table as row 1
      myShip.shield = 0;
      shieldGone = f;
    }
    if (entered == NEVER && lastHighscore == 1) {
      entered = f;
      onDiskAtEntry = game.readPrefsFile(); // before the menu's own save
    }
    if (entered != NEVER && f == entered + 5) raise(SIGHUP); // the terminal is closed
  };
  EXPECT_EQ(0, launch());
  EXPECT_FALSE(game.ranAway());
  ASSERT_NE(NEVER, entered);
  EXPECT_EQ(entered + 6, game.frames());
  ASSERT_EQ(56u, onDiskAtEntry.size());
  EXPECT_EQ(2500, fileField(onDiskAtEntry, 3));
  const auto saved = game.readPrefsFile();
  ASSERT_EQ(56u, saved.size());
  EXPECT_EQ(3000, fileField(saved, 2));
  EXPECT_EQ(2500, fileField(saved, 3));
  EXPECT_EQ(2000, fileField(saved, 4));
}
