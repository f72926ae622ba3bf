// The game layer's shared state around the game loop: what the entry, the title menu, the sound
// bank and the preferences read and write across files. The game loop's own records and tables
// (ship, shots, aliens, score, level) are in state.h.
//
// Integers the game keeps as 32-bit values in its files and tables are int32_t here, since a C++
// long is 64 bits on this platform.
#ifndef ZYPHORA_H
#define ZYPHORA_H

#include <cstdint>

#include "KQRX.h" // Erenderer

class KWindow;
class KGraphic;
class KSound;
struct KEvent;

// ---- The window (entry) ----
extern KWindow *gameWindow;

// ---- The sound bank (hello.cpp), in loading order; snd_music is the streamed music ----
extern KSound *snd_ching, *snd_menu, *snd_scroll, *snd_ennemyshot, *snd_validated, *snd_shipshot,
    *snd_alienArrival, *snd_welcomegame, *snd_ennemyexplo, *snd_bonusappear, *snd_gotBonus,
    *snd_hitshell, *snd_changeBackground, *snd_herohit, *snd_smartbomb, *snd_music;

void loadSounds(); // once, before the menu
void playMusic(
    const char *name); // replaces the music with `name` (relative to the program), looping
void freeSounds();     // once, at shut-down

// ---- Preferences and high scores (prefs.cpp); the file is these 56 bytes, little-endian ----
constexpr int HIGHSCORE_ROWS = 6; // five shown, the sixth is the entry threshold
struct sPreference {
  int32_t sfx;                       // sound-effect volume step, 0..10 once loaded
  int32_t zik;                       // music volume step, 0..10 once loaded
  int32_t highscore[HIGHSCORE_ROWS]; // best first
  int32_t level[HIGHSCORE_ROWS];     // level reached with the score of the same row
};
extern sPreference preferences;
extern int32_t lastHighscore; // row of the newest entry (it blinks), -1 for none

void loadPrefs();       // reads the file (if any) and sets the volumes
void savePrefs();       // stores the volumes and writes the file; a failure is silent
void saveLoadedPrefs(); // savePrefs once loadPrefs has run; before, nothing is written
bool isHighscore(); // offers gScore/gLevel to the table; on entry the menu comes back on the table
void displayHighscore(KGraphic *surface);

// ---- The title menu (menu.cpp) ----
extern bool gValidated;      // the highlighted item was confirmed; menu keys are ignored while set
extern int32_t gMenuActive;  // highlighted item, 0..3 (0 play, 1 options, 2 high scores, 3 quit)
extern int32_t gVolumeMusic; // music volume step, 0..10
extern int32_t gVolumeSFX;   // sound-effect volume step, 0..10
void highlightMenuItem(int32_t item); // sets gMenuActive and lights that item alone

void doMenu(); // runs until the window is closing
bool patCallBack(KEvent *keventPtr);
void displayOptions(KGraphic *surface);

// ---- The entry sequence (hello.cpp); the launch (launch.cpp) calls it ----
// What the player chose before the start: the launch (launch.cpp) reads it from the command
// line and the environment and hands it to the entry.
struct EntryChoices {
  bool windowed = true;           // false: full screen
  Erenderer renderer = K_DIRECTX; // the renderer the factory is asked for
};
// Start-up, the title menu, shut-down; returns the exit code.
int zyphoraMain(const EntryChoices &choices = EntryChoices());

// ---- The game loop (game.cpp; its state is in state.h) ----
void doGame(); // one game, from its start to game over or abandonment

#endif
