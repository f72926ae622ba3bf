// ScriptedGame: runs the game's real loops headless, frame by frame, reproducibly.
//
//  - The window is real: SDL's dummy video driver with the software Direct3D device (the ctest
//    environment sets SDL_VIDEODRIVER=dummy), or OpenGL when ZYPHORA_RENDERER=opengl.
//  - Input is scripted: a test sets the keys held, the pointer, the left button and a close
//    request; they reach the game as the messages real devices would have produced.
//  - The millisecond clock steps 16 ms per frame from a fixed start, so the menu's reseeding, and
//    with it every random draw, is the same on every run. The frame cap never sleeps.
//  - Sound goes to a manual output mixed one frame's worth (735 samples) per frame (or to SDL's
//    output in step with the frames: soundThroughSdl), and every start, stop and volume change
//    of a game sound is logged under the sound's name.
//  - Any frame can be captured for pixel checks; message boxes are recorded, not shown.
//  - Each run has a fresh, empty user folder (XDG_DATA_HOME and XDG_CONFIG_HOME), so the
//    preferences and settings files are the test's own.
//
// Example:
//   ScriptedGame game;
//   game.onFrame = [&](unsigned long frame) {
//     if (frame == 30) game.setInput({{VK_DOWN}});       // Down from frame 31 on
//     if (frame == 31) game.setInput({});                 // released
//     if (frame == 40) game.setInput(Input::closing());   // the user closes the window
//   };
//   EXPECT_EQ(0, game.runMain());
//   EXPECT_EQ(31u, game.firstFrame("snd_menu", DsCall::Play));
#ifndef SCRIPTED_GAME_H
#define SCRIPTED_GAME_H

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "dsound_testing.h"
#include "host_vk.h"

// What the player does, held from the frame it is set until it is changed.
struct Input {
  std::vector<int> keys; // virtual keys held
  int mouseX = 0, mouseY = 0;
  bool leftButton = false;
  bool close = false; // the window's close button (delivered once)

  static Input closing() {
    Input in;
    in.close = true;
    return in;
  }
  static Input pointer(int x, int y, bool button) {
    Input in;
    in.mouseX = x;
    in.mouseY = y;
    in.leftButton = button;
    return in;
  }
};

// One logged call on a game sound's buffer.
struct SoundEvent {
  unsigned long frame; // the first frame drawn after it: its drawing, or the end of the one before
  std::string sound;   // the snd_ global's name, "?" for a buffer of no game sound
  int copy;            // which copy of the sound (-1 unknown)
  DsCall call;
  long value; // as DsRecord: hundredths of a dB for SetVolume, 1 for a looping Play
};

// A captured frame: 0xAARRGGBB pixels, rows from the top.
struct Frame {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
  uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  int red(int x, int y) const { return (at(x, y) >> 16) & 0xFF; }
  int green(int x, int y) const { return (at(x, y) >> 8) & 0xFF; }
  int blue(int x, int y) const { return at(x, y) & 0xFF; }
  int alpha(int x, int y) const { return at(x, y) >> 24; }
};

// A picture file (TGA, PNG, JPEG or BMP by its extension) as a Frame; empty when unreadable.
Frame readPicture(const std::string &file);

class ScriptedGame {
public:
  explicit ScriptedGame(uint32_t clockStartMs = 1000);
  ~ScriptedGame();
  ScriptedGame(const ScriptedGame &) = delete;
  ScriptedGame &operator=(const ScriptedGame &) = delete;

  // Called when frame `frame` (0 first) is drawn and not yet shown. Input set here is seen
  // by the events handled at the end of this frame and by everything drawn in the next.
  std::function<void(unsigned long frame)> onFrame;
  void setInput(const Input &input);

  // Frames after which a close request ends a script that forgot to (the test then fails).
  unsigned long maxFrames = 4000;

  // Sound through SDL's own output (the "disk" driver: SDL_AUDIODRIVER=disk) instead of the
  // manual one, in step with the frames: each frame hands the output its 735 frames and waits
  // until they are mixed (and, when the music's cursor enters its other half, until the
  // refill thread has filled the half it left), so the recording is what a player at 60
  // frames a second hears, however busy the machine. Call before runMain.
  void soundThroughSdl();
  // Frames after which the output did not keep step (it should never happen).
  unsigned long outOfStep() const { return stepMisses; }

  // Settings kept in `folder` instead of the run's own, so that one run's settings reach the
  // next. Call before runMain.
  void keepSettingsIn(const std::string &settingsFolder);

  // The program's whole entry sequence; returns its exit code.
  int runMain();
  // The entry's window and sound bank around `body` (doMenu, say), then the shut-down.
  void runWithWindow(const std::function<void()> &body);

  // The back buffer as it stands (call from onFrame).
  Frame capture();

  unsigned long frames() const { return frameCount; }
  bool ranAway() const { return runaway; }
  const std::vector<SoundEvent> &sounds() const { return soundLog; }
  std::vector<SoundEvent> soundEvents(const std::string &sound, DsCall call) const;
  // The first frame with this call on this sound, or ~0ul when none.
  unsigned long firstFrame(const std::string &sound, DsCall call, unsigned long from = 0) const;
  size_t countCalls(const std::string &sound, DsCall call) const;
  const std::vector<std::string> &messageBoxes() const { return boxes; }
  // The snd_ global whose buffer this is, as it stands now ("?" for none), and which copy.
  static std::string soundOf(const IDirectSoundBuffer *buffer, int *copy = nullptr);

  // The run's user folder and its preferences file.
  const std::string &userFolder() const { return folder; }
  std::string prefsPath() const { return folder + "/zyphora/zyphor.prf"; }
  std::vector<unsigned char> readPrefsFile() const;
  void writePrefsFile(const std::vector<unsigned char> &bytes) const;

private:
  static void frameReady(void *self, unsigned long frame);
  static void messageBox(void *self, const char *title, const char *text);
  void rememberBuffers();
  void takeSounds(unsigned long frame);

  std::string folder;
  struct SavedHome {
    const char *name;
    bool had;
    std::string value;
  };
  std::vector<SavedHome> savedHomes; // XDG_DATA_HOME and XDG_CONFIG_HOME as they were
  unsigned long frameCount = 0;
  bool runaway = false;
  bool paced = false;
  unsigned long stepMisses = 0;
  std::vector<SoundEvent> soundLog;
  struct KnownBuffer {
    const IDirectSoundBuffer *buffer;
    const char *name;
    int copy;
  };
  std::vector<KnownBuffer> knownBuffers; // the game sounds' buffers at the last frame
  std::vector<std::string> boxes;
};

#endif
