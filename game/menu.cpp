// The title menu: the sliding title, the four items, their keys, and the games it starts.
#include "menu.h"
#include "KGraphic.h"
#include "KInput.h"
#include "KMiscTools.h"
#include "KQRX.h"
#include "KSound.h"
#include "menu_controls.h"
#include "random.h"
#include "zyphora.h"

KGraphic *loadMenuSheet() {
  KGraphic *sheet = KQRX::createKGraphic();
  sheet->loadPicture(KMiscTools::makeFilePath("data\\menu.tga"), true, true);
  return sheet;
}

namespace {

enum { ITEM_PLAY = 0, ITEM_OPTIONS = 1, ITEM_HIGHSCORES = 2, ITEM_QUIT = 3 };

// The title slides in again with its scroll sound; the chime comes at the end of the slide.
void startSlideIn(MenuScreen &screen) {
  snd_ching->setVolume(50);
  snd_scroll->playSample();
  screen.fader = 0;
  screen.chingPlayed = false;
}

// Two strips of the sheet slide in from opposite sides; positions are truncated toward zero.
void drawTitle(MenuScreen &screen) {
  const short leftX = static_cast<short>((1 - screen.fader) * -480);
  const short rightX = static_cast<short>(480 - screen.fader * 480);
  screen.surf_bg->blitAlphaRect(0, 481, 480, 580, leftX, 0, false, false);
  screen.surf_bg->blitAlphaRect(0, 580, 480, 622, rightX, 99, false, false);
}

void advanceTitle(MenuScreen &screen) {
  screen.fader += 0.05;
  if (screen.fader <= 1.0f) return;
  screen.fader = 1.0f;
  if (!screen.chingPlayed) {
    snd_ching->playSample();
    snd_scroll->stopSample();
    screen.chingPlayed = true;
  }
}

// The music waits for the chime, and starts again whenever it is found stopped.
void keepMusicGoing(const MenuScreen &screen) {
  if (screen.chingPlayed && !snd_ching->isPlaying() && !snd_music->isPlaying())
    snd_music->playStream(true);
}

void drawItems(KGraphic *surf_bg) {
  for (const sMenu &item : menus) {
    const int32_t shift = MENU_HIGHLIGHT_OFFSET * item.active;
    surf_bg->blitAlphaRect(item.x1, item.y1 + shift, item.x2, item.y2 + shift, item.dx, item.dy,
                           false, false);
  }
}

// After a game the menu is set up afresh: sheet, keys, title and menu music. The sheet is loaded
// without smooth filtering this time; the grid and the highlighted item carry on.
void rebuildAfterGame(MenuScreen &screen) {
  delete screen.surf_bg;
  screen.surf_bg = loadMenuSheet();
  gameWindow->setQRXCallBack(patCallBack);
  startSlideIn(screen);
  screen.fadeToWhite = 0;
  delete snd_music;
  snd_music = new KSound();
  snd_music->loadStream(KMiscTools::makeFilePath("data\\audio\\menu.ogg"));
  gValidated = false;
  screen.fadeToWhiteSpeed = 0;
}

// The light-blue fade that leads into a game; at its end the game runs.
void fadeIntoGame(MenuScreen &screen) {
  if (screen.fadeToWhiteSpeed <= 0) return;
  screen.surf_bg->drawRect(0, 0, 480, 480, 0.4f, 0.9f, 1.0f, screen.fadeToWhite);
  screen.fadeToWhite += screen.fadeToWhiteSpeed;
  if (screen.fadeToWhite <= 1.0f) return;
  gameWindow->setQRXCallBack(nullptr);
  doGame();
  rebuildAfterGame(screen);
}

// A confirmed item acts once the frame is shown: play starts the fade, quit ends the menu.
void actOnConfirmedItem(MenuScreen &screen) {
  if (!gValidated || screen.fadeToWhiteSpeed != 0) return;
  if (gMenuActive == ITEM_PLAY) screen.fadeToWhiteSpeed = 0.025f;
  if (gMenuActive == ITEM_QUIT) gameWindow->terminate();
}

} // namespace

void menuFrame(MenuScreen &screen) {
  gameWindow->setDefaultWorldView();
  gameSrand(KMiscTools::getMilliseconds());
  screen.surf_bg->blitRect(0, 0, 480, 480, 0, 0, false, false);
  displayGrid(screen.surf_bg);
  drawTitle(screen);
  advanceTitle(screen);
  keepMusicGoing(screen);
  drawItems(screen.surf_bg);
  if (gMenuActive == ITEM_OPTIONS) displayOptions(screen.surf_bg);
  if (gMenuActive == ITEM_HIGHSCORES) displayHighscore(screen.surf_bg);
  screen.surf_bg->blitAlphaRectFx(309, 628, 575, 640, 109, 468, 0, 1.0f, 0.5f, false, false);
  fadeIntoGame(screen);
  gameWindow->flipBackBuffer(false, true);
  actOnConfirmedItem(screen);
}

void doMenu() {
  loadPrefs();
  loadControls();
  gValidated = false;
  MenuScreen screen;
  screen.surf_bg = loadMenuSheet();
  screen.surf_bg->setTextureQuality(true);
  initGrid();
  gameWindow->setQRXCallBack(patCallBack);
  startSlideIn(screen);

  do { menuFrame(screen); } while (!gameWindow->isQuit());

  gameWindow->setQRXCallBack(nullptr);
  delete screen.surf_bg;
  savePrefs();
}

bool patCallBack(KEvent *keventPtr) {
  if (controlsTakeEvent(keventPtr)) return true; // the controls panel's keys are its own
  if (gValidated) return true;                   // after a confirmation every event is ignored
  if (keventPtr->type == K_EVENT_KEYDOWN) {
    switch (keventPtr->qrxKey) {
    case K_VK_UP:
      gMenuActive -= 1;
      snd_menu->playSample();
      break;
    case K_VK_DOWN:
      gMenuActive += 1;
      snd_menu->playSample();
      break;
    case K_VK_RETURN:
      // The table has no action of its own: confirming it leaves the keys working, so
      // the menu cannot be stuck on it.
      if (gMenuActive != ITEM_HIGHSCORES) gValidated = true;
      snd_validated->playSample();
      break;
    default: break;
    }
  }
  if (gMenuActive < 0) gMenuActive = MENU_ITEMS - 1;
  if (gMenuActive >= MENU_ITEMS) gMenuActive = 0;
  highlightMenuItem(gMenuActive);
  return true;
}
