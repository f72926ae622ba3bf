// The title menu run for real, headless: the program's entry sequence on the software Direct3D
// device, scripted frame by frame.
#include <gtest/gtest.h>

#include "KSound.h"
#include "ScriptedGame.h"
#include "menu.h"
#include "random.h"
#include "recording_graphic.h"
#include "sheet_compare.h"
#include "state.h"
#include "zyphora.h"

namespace {

// Presses a key on `frame` and lets it go on the next one.
void tap(ScriptedGame &game, unsigned long now, unsigned long frame, int key) {
  if (now == frame) game.setInput({{key}});
  if (now == frame + 1) game.setInput({});
}

int32_t fileField(const std::vector<unsigned char> &bytes, int field) {
  uint32_t v = 0;
  for (int b = 0; b < 4; b++) v |= uint32_t(bytes[field * 4 + b]) << (8 * b);
  return int32_t(v);
}

constexpr int BAR_LEFT = 115, BAR_STEP = 15;
constexpr int SFX_BAR_Y = 179, MUSIC_BAR_Y = 221;
int barX(int i) { return BAR_LEFT + BAR_STEP * i + 4; }

} // namespace

TEST(MenuScripted, UpAndDownWrapAroundWithTheMenuSound) {
  ScriptedGame game;
  int32_t after[3] = {-1, -1, -1};
  game.onFrame = [&](unsigned long f) {
    tap(game, f, 25, VK_UP); // from play (0) up to quit (3)
    if (f == 28) after[0] = gMenuActive;
    tap(game, f, 30, VK_DOWN); // and down again to play
    if (f == 33) after[1] = gMenuActive;
    tap(game, f, 35, VK_UP);
    if (f == 38) after[2] = menus[3].active + 10 * menus[0].active;
    if (f == 40) game.setInput(Input::closing());
  };
  EXPECT_EQ(0, game.runMain());
  EXPECT_FALSE(game.ranAway());
  EXPECT_EQ(3, after[0]);
  EXPECT_EQ(0, after[1]);
  EXPECT_EQ(1, after[2]); // only the highlighted item is lit
  const auto plays = game.soundEvents("snd_menu", DsCall::Play);
  ASSERT_EQ(3u, plays.size());
  EXPECT_EQ(26u, plays[0].frame); // the key is handled at the end of the frame it came in
  EXPECT_EQ(31u, plays[1].frame);
  EXPECT_EQ(0u, game.countCalls("snd_validated", DsCall::Play));
}

TEST(MenuScripted, TheTitleSlidesInThenTheChimeThenTheMusic) {
  ScriptedGame game;
  game.maxFrames = 600;
  std::vector<bool> chimePlaying;
  game.onFrame = [&](unsigned long f) {
    chimePlaying.push_back(snd_ching->isPlaying());
    if (f > 20 && snd_music->isPlaying()) game.setInput(Input::closing()); // heard it
  };
  EXPECT_EQ(0, game.runMain());
  EXPECT_FALSE(game.ranAway());
  EXPECT_EQ(0u, game.firstFrame("snd_scroll", DsCall::Play));
  // fader reaches 1 on the 20th frame (index 19): the chime starts, the scroll stops.
  EXPECT_EQ(19u, game.firstFrame("snd_ching", DsCall::Play));
  EXPECT_EQ(19u, game.firstFrame("snd_scroll", DsCall::Stop));
  EXPECT_EQ(1u, game.countCalls("snd_ching", DsCall::Play)); // once per slide-in
  const unsigned long music = game.firstFrame("snd_music", DsCall::Play, 1);
  ASSERT_NE(~0ul, music);
  // The music starts on the first frame that finds the chime finished.
  for (unsigned long f = 19; f + 1 < music; f++) EXPECT_TRUE(chimePlaying[f]) << f;
  EXPECT_FALSE(chimePlaying[music - 1]);
  // The sound bank's start on the loaded stream comes first; then one looping start, never
  // found stopped since.
  const auto musicPlays = game.soundEvents("snd_music", DsCall::Play);
  ASSERT_EQ(2u, musicPlays.size());
  EXPECT_EQ(0u, musicPlays[0].frame);
  EXPECT_EQ(music, musicPlays[1].frame);
  EXPECT_EQ(1, musicPlays[1].value);
}

TEST(MenuScripted, MusicFoundStoppedIsStartedAgain) {
  ScriptedGame game;
  game.maxFrames = 600;
  unsigned long stoppedAt = 0;
  game.onFrame = [&](unsigned long f) {
    if (!stoppedAt && f > 20 && snd_music->isPlaying()) {
      snd_music->stopStream(); // as if the track had run out
      stoppedAt = f;
    }
    if (stoppedAt && f == stoppedAt + 3) game.setInput(Input::closing());
  };
  EXPECT_EQ(0, game.runMain());
  ASSERT_NE(0u, stoppedAt);
  // The next frame finds it stopped and starts it again, looping.
  const auto plays = game.soundEvents("snd_music", DsCall::Play);
  ASSERT_EQ(3u, plays.size());
  EXPECT_EQ(stoppedAt + 1, plays[2].frame);
  EXPECT_EQ(1, plays[2].value);
}

TEST(MenuScripted, EachFrameDrawsInStepOrderAndTheTitleTruncatesTowardZero) {
  // The menu sheet is a recorder here, so every frame's drawing can be read back in order.
  ScriptedGame game;
  std::vector<std::vector<GraphicCall>> frames;
  game.runWithWindow([&] {
    RecordingGraphic sheet;
    MenuScreen screen;
    screen.surf_bg = &sheet;
    initGrid();
    gMenuActive = 1; // the options panel shows
    for (int f = 0; f < 21; f++) {
      if (f == 20) screen.fadeToWhiteSpeed = 0.025f; // as if play had been confirmed
      menuFrame(screen);
      frames.push_back(sheet.calls);
      sheet.clear();
    }
  });
  ASSERT_EQ(21u, frames.size());
  for (const auto &calls : frames) {
    ASSERT_GT(calls.size(), 232u);
    EXPECT_EQ((std::vector<float>{0, 0, 480, 480, 0, 0, 0, 0}), calls[0].args); // background
    for (size_t i = 1; i <= 224; i++) ASSERT_EQ("blitArbitraryQuad", calls[i].name) << i;
    EXPECT_EQ(481, calls[225].args[1]); // the two title strips
    EXPECT_EQ(580, calls[226].args[1]);
    for (size_t i = 0; i < 4; i++) EXPECT_EQ(158, calls[227 + i].args[4]) << "item " << i;
    EXPECT_EQ((std::vector<float>{100, 145, 390, 265, 0, 0, 0, 0.1f}), calls[231].args); // panel
  }
  // The bottom line closes the frame; the fade, once started, is drawn over everything.
  EXPECT_EQ("blitAlphaRectFx", frames[19].back().name);
  EXPECT_EQ(309, frames[19].back().args[0]);
  const auto &fading = frames[20];
  EXPECT_EQ(309, fading[fading.size() - 2].args[0]);
  EXPECT_EQ((std::vector<float>{0, 0, 480, 480, 0.4f, 0.9f, 1.0f, 0}), fading.back().args);
  // The slide's positions are cut toward zero: by frame 8 the summed steps fall just short of
  // 0.4, so the left strip stands at -287 (not -288) and on frame 9 the right one at 263.
  EXPECT_EQ(-287, frames[8][225].args[4]);
  EXPECT_EQ(288, frames[8][226].args[4]);
  EXPECT_EQ(-263, frames[9][225].args[4]);
  EXPECT_EQ(263, frames[9][226].args[4]);
  EXPECT_EQ(0, frames[20][225].args[4]);
  EXPECT_EQ(0, frames[20][226].args[4]);
}

TEST(MenuScripted, TheMenuReseedsTheGeneratorFromTheSteppedClockEveryFrame) {
  std::vector<uint32_t> states[2];
  for (auto &run : states) {
    ScriptedGame game(5000);
    game.onFrame = [&](unsigned long f) {
      run.push_back(gameRandState());
      if (f == 20) game.setInput(Input::closing());
    };
    EXPECT_EQ(0, game.runMain());
  }
  EXPECT_EQ(states[0], states[1]);
  ASSERT_GT(states[0].size(), 10u);
  // Frame k is drawn at 5000 + 16 k milliseconds; the menu itself draws no number.
  for (size_t k = 0; k < 10; k++) EXPECT_EQ(5000u + 16u * k, states[0][k]) << k;
}

TEST(MenuScripted, SweepingTheEffectBarsSoundsOnEveryChangeAndTheMusicBarsAreSilent) {
  ScriptedGame game;
  std::vector<int32_t> sfx, music;
  unsigned long sweepStart = 30, musicStart = 45;
  game.onFrame = [&](unsigned long f) {
    tap(game, f, 25, VK_DOWN);                  // the options panel
    if (f >= sweepStart && f < sweepStart + 10) // bars 9 down to 0, button held
      game.setInput(Input::pointer(barX(9 - int(f - sweepStart)), SFX_BAR_Y, true));
    if (f > sweepStart && f <= sweepStart + 10) sfx.push_back(gVolumeSFX);
    if (f >= musicStart && f < musicStart + 10)
      game.setInput(Input::pointer(barX(9 - int(f - musicStart)), MUSIC_BAR_Y, true));
    if (f > musicStart && f <= musicStart + 10) music.push_back(gVolumeMusic);
    if (f == musicStart + 12) game.setInput(Input::pointer(400, 400, false));
    if (f == musicStart + 14) game.setInput(Input::closing());
  };
  EXPECT_EQ(0, game.runMain());
  EXPECT_EQ((std::vector<int32_t>{9, 8, 7, 6, 5, 4, 3, 2, 1, 0}), sfx);
  EXPECT_EQ((std::vector<int32_t>{9, 8, 7, 6, 5, 4, 3, 2, 1, 0}), music);
  // One menu sound for the Down key, then one per effect-bar change, none for the music bars.
  const auto plays = game.soundEvents("snd_menu", DsCall::Play);
  EXPECT_EQ(11u, plays.size());
  for (const SoundEvent &play : plays) EXPECT_LT(play.frame, musicStart + 1);
  EXPECT_EQ(0, KSound::_masterSFXvolume.load());
  EXPECT_EQ(0, KSound::_masterMUSICvolume.load());
  const std::vector<unsigned char> saved = game.readPrefsFile();
  ASSERT_EQ(56u, saved.size());
  EXPECT_EQ(0, fileField(saved, 0));
  EXPECT_EQ(0, fileField(saved, 1));
}

TEST(MenuScripted, DefaultVolumesLightAllTwentyBarsAndTheBarsFollowTheVolume) {
  ScriptedGame game;
  Frame atStart, atNine, atFive;
  int32_t afterLastBar = -1;
  game.onFrame = [&](unsigned long f) {
    tap(game, f, 25, VK_DOWN);
    if (f == 26) game.setInput(Input::pointer(400, 420, false));
    if (f == 30) atStart = game.capture();
    if (f == 31) game.setInput(Input::pointer(barX(9), SFX_BAR_Y, true)); // the last bar
    if (f == 32) game.setInput(Input::pointer(400, 420, false));
    if (f == 34) afterLastBar = gVolumeSFX;
    if (f == 35) atNine = game.capture();
    if (f == 36) game.setInput(Input::pointer(barX(5), SFX_BAR_Y, true));
    if (f == 37) game.setInput(Input::pointer(400, 420, false));
    if (f == 40) atFive = game.capture();
    if (f == 41) game.setInput(Input::closing());
  };
  EXPECT_EQ(0, game.runMain());
  EXPECT_EQ(9, afterLastBar);
  ASSERT_EQ(480, atStart.width);
  ASSERT_EQ(480, atNine.width);
  ASSERT_EQ(480, atFive.width);
  const uint32_t white = 0xFFFFFFFFu;
  for (int i = 0; i < 10; i++) {
    for (int y : {SFX_BAR_Y, MUSIC_BAR_Y}) {
      EXPECT_EQ(white, atStart.at(barX(i), y)) << "bar " << i << " at y " << y;
      EXPECT_EQ(white, atNine.at(barX(i), y)) << "bar " << i << " at y " << y; // 9 >= i: lit
      const bool dimmed = y == SFX_BAR_Y && i > 5; // half opacity over the picture
      EXPECT_EQ(dimmed, atFive.at(barX(i), y) != white) << "bar " << i << " at y " << y;
    }
  }
  EXPECT_EQ(5, fileField(game.readPrefsFile(), 0));
  EXPECT_EQ(10, fileField(game.readPrefsFile(), 1));
}

TEST(MenuScripted, ResetOfTheHighScoresFromTheOptionsPanel) {
  ScriptedGame game;
  game.writePrefsFile({5, 0, 0, 0, 5, 0, 0, 0, 0x10, 0x27, 0, 0}); // sfx 5, zik 5, best 10000
  game.onFrame = [&](unsigned long f) {
    tap(game, f, 25, VK_DOWN);
    if (f == 30) game.setInput(Input::pointer(200, 250, true)); // on the reset label
    if (f == 31) game.setInput(Input::pointer(200, 250, false));
    if (f == 33) game.setInput(Input::closing());
  };
  EXPECT_EQ(0, game.runMain());
  const auto saved = game.readPrefsFile();
  ASSERT_EQ(56u, saved.size());
  const int32_t expected[] = {5, 5, 3000, 2000, 1000, 500, 250, 0, 1, 1, 1, 1, 1, 1};
  for (int i = 0; i < 14; i++) EXPECT_EQ(expected[i], fileField(saved, i)) << "field " << i;
}

TEST(MenuScripted, ReturnDuringTheSlideInFadesAndTheGameBeginsOnThe41stFadeFrame) {
  ScriptedGame game;
  Frame nearlyBlue;
  game.onFrame = [&](unsigned long f) {
    tap(game, f, 2, VK_RETURN); // confirmed at the end of frame 2; the fade starts in frame 3
    if (f == 42) nearlyBlue = game.capture();  // the 40th fade frame, opacity 0.975
    if (f == 44) game.setInput({{VK_ESCAPE}}); // leave the game
    if (f == 46) game.setInput({});
    if (f == 60) game.setInput(Input::closing());
  };
  EXPECT_EQ(0, game.runMain());
  EXPECT_EQ(3u, game.firstFrame("snd_validated", DsCall::Play));
  EXPECT_EQ(43u, game.firstFrame("snd_welcomegame", DsCall::Play));
  ASSERT_EQ(480, nearlyBlue.width);
  for (int x : {10, 240, 450}) {
    EXPECT_NEAR(102, nearlyBlue.red(x, 240), 8);
    EXPECT_NEAR(230, nearlyBlue.green(x, 240), 8);
    EXPECT_NEAR(255, nearlyBlue.blue(x, 240), 8);
  }
}

TEST(MenuScripted, ReturnOnOptionsThenEscapeStartsAGame) {
  ScriptedGame game;
  int32_t highlightAfterEscape = -1, playLit = -1;
  game.onFrame = [&](unsigned long f) {
    tap(game, f, 25, VK_DOWN);
    tap(game, f, 27, VK_RETURN); // confirms the options item: nothing happens
    tap(game, f, 30, VK_DOWN);   // keys are ignored now
    tap(game, f, 33, VK_ESCAPE); // seen by the panel in frame 34
    if (f == 34) {
      highlightAfterEscape = gMenuActive;
      playLit = menus[0].active + menus[1].active;
    }
    if (f == 80) game.setInput(Input::closing());
  };
  EXPECT_EQ(0, game.runMain());
  EXPECT_EQ(0, highlightAfterEscape);
  EXPECT_EQ(1, playLit);                                    // the item about to act is the one lit
  EXPECT_EQ(1u, game.countCalls("snd_menu", DsCall::Play)); // the second Down was ignored
  EXPECT_EQ(34u + 41u, game.firstFrame("snd_welcomegame", DsCall::Play));
}

TEST(MenuScripted, ReturnOnQuitEndsTheProgramAndWritesTheFile) {
  ScriptedGame game;
  game.onFrame = [&](unsigned long f) {
    tap(game, f, 25, VK_UP);     // play -> quit
    tap(game, f, 27, VK_RETURN); // confirmed at the end of frame 27, acted on at once
  };
  EXPECT_EQ(0, game.runMain());
  EXPECT_FALSE(game.ranAway());
  EXPECT_EQ(28u, game.frames());
  EXPECT_EQ(28u, game.firstFrame("snd_validated", DsCall::Play));
  EXPECT_EQ(~0ul, game.firstFrame("snd_welcomegame", DsCall::Play)); // no game
  const auto saved = game.readPrefsFile();
  ASSERT_EQ(56u, saved.size());
  EXPECT_EQ(10, fileField(saved, 0));
  EXPECT_EQ(250, fileField(saved, 6));
}

TEST(MenuScripted, ClosingTheWindowAtAnyPointWritesTheFile) {
  for (unsigned long closeAt : {0ul, 10ul, 60ul}) {
    ScriptedGame game;
    game.onFrame = [&](unsigned long f) {
      if (f == closeAt) game.setInput(Input::closing());
    };
    EXPECT_EQ(0, game.runMain());
    EXPECT_EQ(closeAt + 1, game.frames()) << "the menu ends on the frame the close arrives";
    const auto saved = game.readPrefsFile();
    ASSERT_EQ(56u, saved.size()) << closeAt;
    EXPECT_EQ(10, fileField(saved, 0));
    EXPECT_EQ(10, fileField(saved, 1));
    EXPECT_EQ(3000, fileField(saved, 2));
  }
}

TEST(MenuScripted, ClosingTheWindowDuringAGameStillWritesTheFile) {
  ScriptedGame game;
  game.onFrame = [&](unsigned long f) {
    tap(game, f, 2, VK_RETURN);
    if (f == 60) game.setInput(Input::closing()); // 17 frames into the game
  };
  EXPECT_EQ(0, game.runMain());
  EXPECT_FALSE(game.ranAway());
  EXPECT_EQ(56u, game.readPrefsFile().size());
}

TEST(MenuScripted, AfterAGameTheTitleSlidesInAgainAndTheMusicWaitsForTheChime) {
  ScriptedGame game;
  game.maxFrames = 600;
  std::vector<bool> chimePlaying;
  game.onFrame = [&](unsigned long f) {
    chimePlaying.push_back(snd_ching->isPlaying());
    tap(game, f, 2, VK_RETURN);
    if (f == 50) game.setInput({{VK_ESCAPE}}); // the game ends at once
    if (f == 51) game.setInput({});
    if (f > 100 && snd_music->isPlaying()) game.setInput(Input::closing());
  };
  EXPECT_EQ(0, game.runMain());
  const unsigned long back = game.firstFrame("snd_scroll", DsCall::Play, 1);
  ASSERT_NE(~0ul, back);
  EXPECT_GT(back, 43u);
  const unsigned long chime = game.firstFrame("snd_ching", DsCall::Play, back);
  // The scroll sound is logged with the frame that ends the game's menu frame; the slide takes
  // the 20 frames after it.
  EXPECT_EQ(back + 20, chime);
  const unsigned long music = game.firstFrame("snd_music", DsCall::Play, back);
  ASSERT_NE(~0ul, music);
  EXPECT_GT(music, chime);
  for (unsigned long f = chime; f + 1 < music; f++) EXPECT_TRUE(chimePlaying[f]) << f;
  EXPECT_EQ(0, gMenuActive); // the highlight carries on
  EXPECT_FALSE(gValidated);
}

// A game over whose score enters the table brings the menu back on the table, with its item lit,
// so that the keys go on from there: Up, Up and Return start the next game.
TEST(MenuScripted, AfterAGameOverWithAHighScoreTheTableIsLitAndUpUpReturnPlays) {
  const Frame sheet = readPicture("data/menu.tga");
  ASSERT_EQ(1024, sheet.width);
  ScriptedGame game;
  game.maxFrames = 1200;
  constexpr unsigned long NEVER = ~0ul;
  unsigned long back = NEVER, secondGame = NEVER;
  Frame onTable;
  int32_t lit[MENU_ITEMS] = {-1, -1, -1, -1};
  int32_t highlighted = -1;
  game.onFrame = [&](unsigned long f) {
    tap(game, f, 2, VK_RETURN);
    if (f == 60) { // in the game: the last hit, with a score for the table
      gScore = 987654;
      myShip.shield = 0;
    }
    if (back == NEVER && f > 60) back = game.firstFrame("snd_scroll", DsCall::Play, 44);
    if (back == NEVER) return;
    if (f == back + 30) {
      onTable = game.capture();
      highlighted = gMenuActive;
      for (int i = 0; i < MENU_ITEMS; i++) lit[i] = menus[i].active;
    }
    tap(game, f, back + 31, VK_UP);
    tap(game, f, back + 33, VK_UP);
    tap(game, f, back + 35, VK_RETURN);
    secondGame = game.firstFrame("snd_welcomegame", DsCall::Play, back);
    if (secondGame != NEVER) game.setInput(Input::closing());
  };
  EXPECT_EQ(0, game.runMain());
  EXPECT_FALSE(game.ranAway());
  ASSERT_NE(NEVER, back);
  EXPECT_EQ(0, lastHighscore);
  EXPECT_EQ(2, highlighted);
  EXPECT_EQ((std::vector<int32_t>{0, 0, 1, 0}), std::vector<int32_t>(lit, lit + MENU_ITEMS));
  // On screen: "high scores" from the lit row of the sheet, "play" from the plain one.
  ASSERT_EQ(480, onTable.width);
  EXPECT_EQ(0, differingFromSheet(onTable, sheet, 158, 368, 320, 393, 481, 68 + 117));
  EXPECT_EQ(0, differingFromSheet(onTable, sheet, 158, 310, 320, 337, 481, 10));
  // Two moves, then the fade and the second game.
  EXPECT_EQ(2u, game.soundEvents("snd_menu", DsCall::Play).size());
  EXPECT_EQ(back + 35 + 41, secondGame); // as from the title at first
}

// Confirming the table acknowledges it without locking the keys: Down and Return then quit.
TEST(MenuScripted, ReturnOnTheHighScoresKeepsTheKeysAndDownReturnQuits) {
  ScriptedGame game;
  bool lockedOnTable = true;
  int32_t tableShown = -1;
  game.onFrame = [&](unsigned long f) {
    tap(game, f, 25, VK_DOWN);
    tap(game, f, 27, VK_DOWN);
    tap(game, f, 29, VK_RETURN); // the high scores confirmed
    if (f == 31) {
      lockedOnTable = gValidated;
      tableShown = gMenuActive * 10 + menus[2].active;
    }
    tap(game, f, 32, VK_DOWN);   // on to quit
    tap(game, f, 34, VK_RETURN); // confirmed at the end of frame 34, acted on at once
  };
  EXPECT_EQ(0, game.runMain());
  EXPECT_FALSE(game.ranAway());
  EXPECT_FALSE(lockedOnTable);
  EXPECT_EQ(21, tableShown); // the table stays while its item is lit
  EXPECT_EQ(35u, game.frames());
  EXPECT_EQ(3u, game.countCalls("snd_menu", DsCall::Play));
  EXPECT_EQ(2u, game.countCalls("snd_validated", DsCall::Play));     // each Return is heard
  EXPECT_EQ(~0ul, game.firstFrame("snd_welcomegame", DsCall::Play)); // no game
}
