// The game's sound bank and the entry sequence around it, on the real sound library with a
// recording output.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <SDL.h>

#include "KSound.h"
#include "ScriptedGame.h"
#include "ksound_testing.h"
#include "zyphora.h"

namespace {

// The names of the game sounds the records' buffers belong to, each name once, in record order.
std::vector<std::string> soundsIn(const std::vector<DsRecord> &records, DsCall call) {
  std::vector<std::string> names;
  for (const DsRecord &r : records) {
    if (r.call != call) continue;
    const std::string name = ScriptedGame::soundOf(r.buffer);
    if (name != "?" && (names.empty() || names.back() != name)) names.push_back(name);
  }
  return names;
}

} // namespace

TEST(SoundBank, LoadsTheFifteenSamplesWithTheirVolumesAndCopies) {
  struct Expected {
    KSound **sound;
    int volume, copies;
  };
  const Expected table[] = {
      {&snd_ching, 100, 1},           {&snd_menu, 100, 1},        {&snd_scroll, 100, 1},
      {&snd_ennemyshot, 100, 3},      {&snd_validated, 100, 1},   {&snd_shipshot, 30, 3},
      {&snd_alienArrival, 100, 3},    {&snd_welcomegame, 100, 1}, {&snd_ennemyexplo, 100, 3},
      {&snd_bonusappear, 100, 1},     {&snd_gotBonus, 100, 1},    {&snd_hitshell, 100, 3},
      {&snd_changeBackground, 40, 1}, {&snd_herohit, 100, 1},     {&snd_smartbomb, 100, 1},
  };
  ScriptedGame game;
  game.runWithWindow([&] {
    for (const Expected &e : table) {
      ASSERT_NE(nullptr, *e.sound);
      EXPECT_EQ(e.copies, KSoundProbe::copies(**e.sound));
      EXPECT_EQ(e.volume, KSoundProbe::channelVolume(**e.sound));
      for (int c = 0; c < e.copies; c++) EXPECT_NE(nullptr, KSoundProbe::buffer(**e.sound, c));
    }
    ASSERT_NE(nullptr, snd_music);
    EXPECT_FALSE(snd_music->isPlaying()); // the menu starts it after the chime
    EXPECT_EQ(50, KSound::_masterMUSICvolume.load());
    EXPECT_EQ(100, KSound::_masterSFXvolume.load());
  });
  for (const Expected &e : table) EXPECT_EQ(nullptr, *e.sound);
  EXPECT_EQ(nullptr, snd_music);
  EXPECT_EQ(0, KSound::_instanceCount); // the primer and every sound are gone
}

TEST(SoundBank, APrimerWakesTheDeviceThenTheSoundsLoadInTableOrder) {
  ScriptedGame game;
  std::vector<DsRecord> records;
  std::vector<std::string> created;
  game.runWithWindow([&] {
    records = dsoundTestTakeRecords();
    created = soundsIn(records, DsCall::Create);
  });
  const std::vector<std::string> tableOrder = {"snd_ching",
                                               "snd_menu",
                                               "snd_scroll",
                                               "snd_ennemyshot",
                                               "snd_validated",
                                               "snd_shipshot",
                                               "snd_alienArrival",
                                               "snd_welcomegame",
                                               "snd_ennemyexplo",
                                               "snd_bonusappear",
                                               "snd_gotBonus",
                                               "snd_hitshell",
                                               "snd_changeBackground",
                                               "snd_herohit",
                                               "snd_smartbomb",
                                               "snd_music"};
  EXPECT_EQ(tableOrder, created);

  // The first buffer made is the throwaway primer: played silenced, released after every
  // other sound was made.
  ASSERT_FALSE(records.empty());
  const DsRecord &primer = records.front();
  ASSERT_EQ(DsCall::Create, primer.call);
  long volumeAtPlay = 0;
  bool played = false;
  for (const DsRecord &r : records) {
    if (r.buffer != primer.buffer || played) continue;
    if (r.call == DsCall::SetVolume) volumeAtPlay = r.value;
    played = r.call == DsCall::Play;
  }
  EXPECT_TRUE(played);
  EXPECT_EQ(-10000, volumeAtPlay); // volume 0: full attenuation
  EXPECT_EQ(DsCall::Release, records.back().call);
  EXPECT_EQ(primer.buffer, records.back().buffer);
}

TEST(SoundBank, ShutDownFreesTheSoundsInItsOwnOrder) {
  ScriptedGame game;
  std::vector<std::string> released;
  game.runWithWindow([&] {
    dsoundTestTakeRecords();
    // Name every buffer while the sounds exist, then free them as the shut-down does.
    std::vector<std::pair<const IDirectSoundBuffer *, std::string>> names;
    for (KSound *sound :
         {snd_ching, snd_menu, snd_scroll, snd_ennemyshot, snd_validated, snd_shipshot,
          snd_alienArrival, snd_welcomegame, snd_ennemyexplo, snd_bonusappear, snd_gotBonus,
          snd_hitshell, snd_changeBackground, snd_herohit, snd_smartbomb, snd_music})
      for (int c = 0; c < 9; c++)
        if (const IDirectSoundBuffer *buffer = KSoundProbe::buffer(*sound, c))
          names.emplace_back(buffer, ScriptedGame::soundOf(buffer));
    freeSounds();
    for (const DsRecord &r : dsoundTestTakeRecords()) {
      if (r.call != DsCall::Release) continue;
      for (const auto &named : names)
        if (named.first == r.buffer && (released.empty() || released.back() != named.second))
          released.push_back(named.second);
    }
  });
  const std::vector<std::string> freeOrder = {
      "snd_smartbomb",    "snd_herohit",     "snd_gotBonus",    "snd_changeBackground",
      "snd_ennemyexplo",  "snd_bonusappear", "snd_hitshell",    "snd_ennemyshot",
      "snd_alienArrival", "snd_shipshot",    "snd_welcomegame", "snd_ching",
      "snd_menu",         "snd_validated",   "snd_scroll",      "snd_music"};
  EXPECT_EQ(freeOrder, released);
}

TEST(SoundBank, AFourthShipShotRestartsTheOldestCopy) {
  ScriptedGame game;
  std::vector<const IDirectSoundBuffer *> played;
  game.runWithWindow([&] {
    dsoundTestTakeRecords();
    for (int shot = 0; shot < 4; shot++) snd_shipshot->playSample();
    for (const DsRecord &r : dsoundTestTakeRecords())
      if (r.call == DsCall::Play && KSoundProbe::owns(*snd_shipshot, r.buffer))
        played.push_back(r.buffer);
  });
  ASSERT_EQ(4u, played.size());
  EXPECT_NE(played[0], played[1]);
  EXPECT_NE(played[1], played[2]);
  EXPECT_NE(played[0], played[2]);
  EXPECT_EQ(played[0], played[3]);
}

TEST(SoundBank, PlayMusicReplacesTheTrackAndLoopsItAtFullVolume) {
  ScriptedGame game;
  game.runWithWindow([&] {
    playMusic("data\\audio\\ingame.ogg");
    ASSERT_NE(nullptr, snd_music);
    EXPECT_EQ(100, KSoundProbe::channelVolume(*snd_music));
    EXPECT_TRUE(snd_music->isPlaying());
    EXPECT_EQ(16, KSound::_instanceCount); // fifteen samples and one music
  });
  const auto plays = game.soundEvents("snd_music", DsCall::Play);
  ASSERT_EQ(1u, plays.size());
  EXPECT_EQ(1, plays[0].value); // looping
}

// ---- the entry ----------------------------------------------------------------------------

TEST(Entry, EndsInOrderWhenNoWindowCanOpen) {
  if (SDL_WasInit(SDL_INIT_VIDEO)) GTEST_SKIP() << "video already started in this process";
  setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
  ScriptedGame game;
  const int code = game.runMain();
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  EXPECT_EQ(1, code);
  EXPECT_EQ(nullptr, gameWindow);
  EXPECT_EQ(0u, game.frames());
  EXPECT_TRUE(game.readPrefsFile().empty()); // no menu ran, nothing was saved
}
