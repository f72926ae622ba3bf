#include "ScriptedGame.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <unistd.h>

#include "KGraphic.h"
#include "KImageFile.h"
#include "KInput.h"
#include "KMiscTools.h"
#include "KQRX.h"
#include "KSound.h"
#include "host_testing.h"
#include "ksound_testing.h"
#include "launch.h"
#include "menu.h"
#include "zyphora.h"

namespace {

constexpr uint32_t FRAME_MS = 16;              // the clock's step per frame
constexpr size_t AUDIO_FRAMES_PER_FRAME = 735; // 44100 Hz / 60 frames a second
constexpr DWORD RING_BYTES = 32768;            // a stream's ring: two halves

// The game's sounds by name, to tell whose buffer a logged call is on.
struct NamedSound {
  const char *name;
  KSound **sound;
};
const NamedSound gameSounds[] = {
    {"snd_ching", &snd_ching},
    {"snd_menu", &snd_menu},
    {"snd_scroll", &snd_scroll},
    {"snd_ennemyshot", &snd_ennemyshot},
    {"snd_validated", &snd_validated},
    {"snd_shipshot", &snd_shipshot},
    {"snd_alienArrival", &snd_alienArrival},
    {"snd_welcomegame", &snd_welcomegame},
    {"snd_ennemyexplo", &snd_ennemyexplo},
    {"snd_bonusappear", &snd_bonusappear},
    {"snd_gotBonus", &snd_gotBonus},
    {"snd_hitshell", &snd_hitshell},
    {"snd_changeBackground", &snd_changeBackground},
    {"snd_herohit", &snd_herohit},
    {"snd_smartbomb", &snd_smartbomb},
    {"snd_music", &snd_music},
};
constexpr int MAX_COPIES = 9;

// The menu's state as the program starts with it: the first run in a process takes it, every
// later run starts from it again, as a new process would.
struct MenuStart {
  sPreference prefs = preferences;
  int32_t newest = lastHighscore, highlighted = gMenuActive;
  bool validated = gValidated;
  int32_t music = gVolumeMusic, sfx = gVolumeSFX;
  sMenu items[MENU_ITEMS];
  MenuStart() { std::copy(menus, menus + MENU_ITEMS, items); }
  void restore() const {
    preferences = prefs;
    lastHighscore = newest;
    gMenuActive = highlighted;
    gValidated = validated;
    gVolumeMusic = music;
    gVolumeSFX = sfx;
    std::copy(items, items + MENU_ITEMS, menus);
  }
};

// Where the streaming music's ring stands: its buffer (null unless it streams: plays looping,
// refilled), the half its last played byte lies in and its refills so far.
struct MusicRing {
  IDirectSoundBuffer *buffer = nullptr;
  int half = -1;
  unsigned long refills = 0;
};
MusicRing musicRing() {
  MusicRing ring;
  IDirectSoundBuffer *buffer = snd_music ? KSoundProbe::buffer(*snd_music, 0) : nullptr;
  DWORD status = 0, play = 0;
  if (!buffer || FAILED(buffer->GetStatus(&status)) || !(status & DSBSTATUS_LOOPING)) return ring;
  buffer->GetCurrentPosition(&play, nullptr);
  ring.buffer = buffer;
  // A cursor just on a half's start has not passed it yet: that half's notification is due
  // with the next byte played.
  ring.half = (play + RING_BYTES - 1) % RING_BYTES < RING_BYTES / 2 ? 0 : 1;
  ring.refills = dsoundTestUnlockCount(buffer);
  return ring;
}

// Hands the SDL output one frame's sound. When that moves the music's cursor into its other
// half, waits (up to a second) for the refill thread to fill the half it left, as it has a
// tenth of a second to do at real speed: the recording then does not depend on how busy the
// machine is. False when either did not keep step.
bool advancePacedOutput() {
  const MusicRing before = musicRing();
  if (!dsoundTestAdvanceOutput(AUDIO_FRAMES_PER_FRAME)) return false;
  const MusicRing after = musicRing();
  if (!before.buffer || after.buffer != before.buffer || after.half == before.half) return true;
  for (int waited = 0; waited < 1000; waited++) {
    if (dsoundTestUnlockCount(before.buffer) > before.refills) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return false;
}

std::string makeTempFolder() {
  char pattern[] = "/tmp/zyphora-scripted-XXXXXX";
  const char *made = mkdtemp(pattern);
  return made ? made : "/tmp";
}

} // namespace

ScriptedGame::ScriptedGame(uint32_t clockStartMs) : folder(makeTempFolder()) {
  // The player's files (preferences, settings) go to the run's own folder.
  for (const char *name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME"}) {
    const char *old = getenv(name);
    savedHomes.push_back({name, old != nullptr, old ? old : ""});
    setenv(name, folder.c_str(), 1);
  }
  static const MenuStart menuStart;
  menuStart.restore();

  hostTestReset();
  hostTestSetClockStep(FRAME_MS, clockStartMs);
  hostTestSetNoFrameWait(true);
  hostTestSetFrameHook(&ScriptedGame::frameReady, this);
  hostTestSetMessageBoxHandler(&ScriptedGame::messageBox, this);
  hostTestSetInput(HostInputFrame{});

  dsoundTestUseManualOutput(true);
  dsoundTestRecord(true);
  dsoundTestTakeRecords();
}

ScriptedGame::~ScriptedGame() {
  dsoundTestPaceOutput(false);
  dsoundTestRecord(false);
  hostTestSetFrameHook(nullptr, nullptr);
  hostTestSetNoFrameWait(false);
  hostTestReset();
  for (const SavedHome &home : savedHomes) {
    if (home.had)
      setenv(home.name, home.value.c_str(), 1);
    else
      unsetenv(home.name);
  }
  std::error_code ignored;
  if (folder.rfind("/tmp/zyphora-scripted-", 0) == 0) std::filesystem::remove_all(folder, ignored);
}

void ScriptedGame::setInput(const Input &input) {
  HostInputFrame frame{};
  for (int key : input.keys)
    if (frame.keyCount < 16) frame.keys[frame.keyCount++] = key;
  frame.mouseX = input.mouseX;
  frame.mouseY = input.mouseY;
  frame.leftButton = input.leftButton;
  frame.closeRequest = input.close;
  hostTestSetInput(frame);
}

void ScriptedGame::soundThroughSdl() {
  dsoundTestUseManualOutput(false);
  dsoundTestPaceOutput(true);
  paced = true;
}

void ScriptedGame::keepSettingsIn(const std::string &settingsFolder) {
  setenv("XDG_CONFIG_HOME", settingsFolder.c_str(), 1); // the destructor restores it
}

int ScriptedGame::runMain() {
  EntryChoices choices;
  choices.renderer = chosenRenderer(nullptr); // as the launch chooses it from the environment
  const int code = zyphoraMain(choices);
  takeSounds(frameCount);
  return code;
}

void ScriptedGame::runWithWindow(const std::function<void()> &body) {
  KMiscTools::initMiscTools();
  gameWindow = KQRX::createKWindow(chosenRenderer(nullptr));
  gameWindow->createGameWindow(480, 480, -1, true, "Zyphora");
  gameWindow->displayMouse(true);
  gameWindow->setMaxFrameRate(60);
  loadSounds();
  body();
  takeSounds(frameCount);
  freeSounds();
  delete gameWindow;
  gameWindow = nullptr;
}

void ScriptedGame::frameReady(void *self, unsigned long frame) {
  ScriptedGame &game = *static_cast<ScriptedGame *>(self);
  game.frameCount = frame + 1;
  // One frame's worth of sound plays, so samples finish and the music waits as it would live.
  if (game.paced) {
    game.stepMisses += advancePacedOutput() ? 0 : 1;
  } else {
    int16_t pcm[AUDIO_FRAMES_PER_FRAME * 2];
    dsoundTestMix(pcm, AUDIO_FRAMES_PER_FRAME);
  }
  game.takeSounds(frame);
  game.rememberBuffers(); // the buffers alive after this frame name the next batch's releases
  if (game.onFrame) game.onFrame(frame);
  if (frame + 1 >= game.maxFrames && !game.runaway) {
    game.runaway = true;
    game.setInput(Input::closing());
  }
}

void ScriptedGame::messageBox(void *self, const char *title, const char *text) {
  static_cast<ScriptedGame *>(self)->boxes.push_back(std::string(title) + ": " + text);
}

std::string ScriptedGame::soundOf(const IDirectSoundBuffer *buffer, int *copy) {
  for (const NamedSound &named : gameSounds) {
    if (!*named.sound) continue;
    for (int c = 0; c < MAX_COPIES; c++) {
      if (KSoundProbe::buffer(**named.sound, c) != buffer) continue;
      if (copy) *copy = c;
      return named.name;
    }
  }
  if (copy) *copy = -1;
  return "?";
}

void ScriptedGame::rememberBuffers() {
  knownBuffers.clear();
  for (const NamedSound &named : gameSounds)
    for (int c = 0; *named.sound && c < MAX_COPIES; c++)
      if (const IDirectSoundBuffer *buffer = KSoundProbe::buffer(**named.sound, c))
        knownBuffers.push_back({buffer, named.name, c});
}

void ScriptedGame::takeSounds(unsigned long frame) {
  const std::vector<DsRecord> records = dsoundTestTakeRecords();
  for (size_t i = 0; i < records.size(); i++) {
    const DsRecord &record = records[i];
    SoundEvent event{frame, "?", -1, record.call, record.value};
    // A buffer released later in the batch is not the one living at its address now (the
    // start-up's priming sound is freed, and a new buffer may take its place).
    const bool releasedSince =
        std::any_of(records.begin() + i + 1, records.end(), [&](const DsRecord &r) {
          return r.call == DsCall::Release && r.buffer == record.buffer;
        });
    if (!releasedSince) event.sound = soundOf(record.buffer, &event.copy);
    // Calls made after the last frame (the shut-down's) are on sounds that may be gone.
    for (const KnownBuffer &known : knownBuffers) {
      if (event.sound != "?" || known.buffer != record.buffer) continue;
      event.sound = known.name;
      event.copy = known.copy;
    }
    soundLog.push_back(event);
  }
}

std::vector<SoundEvent> ScriptedGame::soundEvents(const std::string &sound, DsCall call) const {
  std::vector<SoundEvent> found;
  for (const SoundEvent &event : soundLog)
    if (event.sound == sound && event.call == call) found.push_back(event);
  return found;
}

unsigned long ScriptedGame::firstFrame(const std::string &sound, DsCall call,
                                       unsigned long from) const {
  for (const SoundEvent &event : soundLog)
    if (event.sound == sound && event.call == call && event.frame >= from) return event.frame;
  return ~0ul;
}

size_t ScriptedGame::countCalls(const std::string &sound, DsCall call) const {
  return soundEvents(sound, call).size();
}

Frame readPicture(const std::string &file) {
  Frame picture;
  std::ifstream in(file, std::ios::binary);
  const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                         std::istreambuf_iterator<char>());
  const std::string extension = file.size() > 4 ? file.substr(file.size() - 4) : "";
  const KImageFormat format = extension == ".tga"   ? K_IMAGE_TGA
                              : extension == ".png" ? K_IMAGE_PNG
                              : extension == ".jpg" ? K_IMAGE_JPG
                                                    : K_IMAGE_BMP;
  KImageFile image;
  if (!image.decode(bytes.data(), bytes.size(), format)) return picture;
  picture.width = static_cast<int>(image.getWidth());
  picture.height = static_cast<int>(image.getHeight());
  const uint8_t *rgba = image.getRGBA();
  picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height);
  for (size_t i = 0; i < picture.pixels.size(); i++) {
    const uint8_t *p = rgba + 4 * i;
    picture.pixels[i] = uint32_t(p[3]) << 24 | uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
  }
  return picture;
}

Frame ScriptedGame::capture() {
  const std::string file = folder + "/capture.bmp";
  KGraphic *grabber = KQRX::createKGraphic();
  const bool saved = grabber->saveBackBuffer(file.c_str(), K_SAVE_BMP, 0, 0);
  delete grabber;
  if (!saved) return Frame();
  Frame frame = readPicture(file);
  for (uint32_t &pixel : frame.pixels) pixel |= 0xFF000000u; // the screen is opaque
  remove(file.c_str());
  return frame;
}

std::vector<unsigned char> ScriptedGame::readPrefsFile() const {
  std::ifstream in(prefsPath(), std::ios::binary);
  return std::vector<unsigned char>((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
}

void ScriptedGame::writePrefsFile(const std::vector<unsigned char> &bytes) const {
  std::error_code ignored;
  std::filesystem::create_directories(folder + "/zyphora", ignored);
  std::ofstream out(prefsPath(), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char *>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}
