// The entry sequence and the game's sound bank.
#include "KInput.h"
#include "KMiscTools.h"
#include "KQRX.h"
#include "KSound.h"
#include "display_settings.h"
#include "zyphora.h"

KWindow *gameWindow = nullptr;

KSound *snd_ching = nullptr, *snd_menu = nullptr, *snd_scroll = nullptr, *snd_ennemyshot = nullptr,
       *snd_validated = nullptr, *snd_shipshot = nullptr, *snd_alienArrival = nullptr,
       *snd_welcomegame = nullptr, *snd_ennemyexplo = nullptr, *snd_bonusappear = nullptr,
       *snd_gotBonus = nullptr, *snd_hitshell = nullptr, *snd_changeBackground = nullptr,
       *snd_herohit = nullptr, *snd_smartbomb = nullptr, *snd_music = nullptr;

namespace {

// The fifteen samples, in loading order.
struct SampleEntry {
  KSound **sound;
  const char *file;
  int volume;
  short copies; // how many copies may sound at once
};
const SampleEntry sampleTable[] = {
    {&snd_ching, "data\\audio\\ching.ogg", 100, 1},               // title slid in (menu sets 50)
    {&snd_menu, "data\\audio\\menuselect.ogg", 100, 1},           // menu move, volume change
    {&snd_scroll, "data\\audio\\scrollmenu.ogg", 100, 1},         // title sliding in
    {&snd_ennemyshot, "data\\audio\\shotennemy1.ogg", 100, 3},    // an alien fires
    {&snd_validated, "data\\audio\\validated.ogg", 100, 1},       // menu item confirmed
    {&snd_shipshot, "data\\audio\\shothero.ogg", 30, 3},          // the ship fires
    {&snd_alienArrival, "data\\audio\\alienarrival.ogg", 100, 3}, // a new alien
    {&snd_welcomegame, "data\\audio\\welcomgame.ogg", 100, 1},    // a game starts
    {&snd_ennemyexplo, "data\\audio\\alienexplo.ogg", 100, 3},    // an alien destroyed
    {&snd_bonusappear, "data\\audio\\bonusappear.ogg", 100, 1},   // a bonus released
    {&snd_gotBonus, "data\\audio\\gotbonus.wav", 100, 1},         // a bonus collected
    {&snd_hitshell, "data\\audio\\hitshell.ogg", 100, 3},         // a hit that does not destroy
    {&snd_changeBackground, "data\\audio\\changebg.ogg", 40, 1},  // a grid cell changes picture
    {&snd_herohit, "data\\audio\\herohit.ogg", 100, 1},           // the ship hit
    {&snd_smartbomb, "data\\audio\\smartbomb.ogg", 100, 1},       // a smart bomb
};

// Shut-down deletes the sounds in this order.
KSound **const freeOrder[] = {
    &snd_smartbomb,    &snd_herohit,     &snd_gotBonus,    &snd_changeBackground,
    &snd_ennemyexplo,  &snd_bonusappear, &snd_hitshell,    &snd_ennemyshot,
    &snd_alienArrival, &snd_shipshot,    &snd_welcomegame, &snd_ching,
    &snd_menu,         &snd_validated,   &snd_scroll,      &snd_music,
};

} // namespace

void loadSounds() {
  // A throwaway sound wakes the sound device up before the real ones load.
  KSound *primer = new KSound();
  primer->loadSample(KMiscTools::makeFilePath("data\\audio\\ching.ogg"), 100, false, 1);
  primer->setVolume(0);
  primer->playSample();

  for (const SampleEntry &entry : sampleTable) {
    *entry.sound = new KSound();
    (*entry.sound)
        ->loadSample(KMiscTools::makeFilePath(entry.file), entry.volume, false, entry.copies);
  }

  // The menu starts the music itself once the chime has finished.
  snd_music = new KSound();
  snd_music->loadStream(KMiscTools::makeFilePath("data\\audio\\menu.ogg"));
  snd_music->playSample();

  KSound::setGlobalVolumes(50, 100); // streams, samples: until the preferences are read
  delete primer;
}

void playMusic(const char *name) {
  delete snd_music; // stops the old track
  snd_music = new KSound();
  snd_music->loadStream(KMiscTools::makeFilePath(name));
  snd_music->setVolume(100);
  snd_music->playStream(true);
}

void freeSounds() {
  for (KSound **sound : freeOrder) {
    delete *sound;
    *sound = nullptr;
  }
}

int zyphoraMain(const EntryChoices &choices) {
  KInput::hidePointer();
  KMiscTools::initMiscTools();
  gameWindow = KQRX::createKWindow(choices.renderer, false);
  if (!gameWindow->createGameWindow(480, 480, -1, choices.windowed, "Zyphora")) {
    // The window has already told why; without a window there is nothing to play on.
    delete gameWindow;
    gameWindow = nullptr;
    KInput::showPointer();
    return 1;
  }
  gameWindow->displayMouse(true);
  gameWindow->setMaxFrameRate(60); // the game is paced for 60 frames a second
  loadSounds();

  doMenu(); // returns when the window is closing; it has written the preferences

  freeSounds();
  KInput::showPointer();
  rememberDisplaySettings(gameWindow);
  delete gameWindow;
  gameWindow = nullptr;
  return 0;
}
