// doGame: one game, from the fade-in to game over, pause included. Every frame runs the
// game's areas in a fixed order; nothing moves by elapsed time, only by frames.
#include "game.h"
#include "KGraphic.h"
#include "KInput.h"
#include "KMiscTools.h"
#include "KQRX.h"
#include "KSound.h"
#include "KWindow.h"
#include "aliens.h" // playSound
#include "key_bindings.h"

namespace {

// Blink counter of the pause label; it keeps counting from one pause to the next.
int32_t tpause = 0;

KGraphic *loadGamePicture(const char *path) {
  KGraphic *picture = KQRX::createKGraphic();
  picture->loadPicture(KMiscTools::makeFilePath(path), true, true);
  return picture;
}

// The pause key was pressed: freeze on a copy of the back buffer (the background mesh just
// drawn) until it is pressed again or the window is closing. Each wait for the key's release
// pumps events.
void pauseGame(KGraphic *surf_sprites) {
  waitForActionRelease(gKeyBindings, ACTION_PAUSE);
  KGraphic *surf_back = KQRX::createKGraphic();
  surf_back->grabBackBuffer(nullptr);
  while (!actionPressed(gKeyBindings, ACTION_PAUSE) && !gameWindow->isQuit()) {
    gameWindow->setDefaultWorldView();
    surf_back->blitRect(0, 0, 480, 480, 0, 0, false, false);
    tpause += 1;
    if (tpause > 30) { // the label shows 31 frames out of every 61
      if (tpause > 60) tpause = 0;
      surf_sprites->blitAlphaRect(16, 405, 52, 412, 222, 200, false, false);
    }
    gameWindow->flipBackBuffer(true, true);
  }
  delete surf_back;
  waitForActionRelease(gKeyBindings, ACTION_PAUSE);
}

// The game-over sequence, run every frame once the shield is gone: the picture shrinks in
// over about 100 frames, then after 200 still frames screen and music fade out together.
void runGameOver(KGraphic *surf_sprites, float &gameoverfade, float &gameoverTimer) {
  gameoverfade += 0.01f;
  if (gameoverfade > 1.0f) gameoverfade = 1.0f;
  surf_sprites->blitAlphaRectFx(146, 343, 327, 376, 149, 200, 0, 1.0f + (1 - gameoverfade) * 20,
                                gameoverfade, false, false);
  if (gameoverfade < 1.0f) return;
  gameoverTimer += 0.005f;
  if (gameoverTimer > 2.0f) gameoverTimer = 2.0f;
  if (gameoverTimer > 1.0f) {
    float g = 2.0f - gameoverTimer;
    gameWindow->setGamma(g);
    if (snd_music) snd_music->setVolume((int)(g * 100));
  }
}

} // namespace

void resetGame() {
  myShip.x = 225;
  myShip.y = 320;
  myShip.rotation = 0;
  myShip.destrotation = 0;
  myShip.rotIndex = 0;
  myShip.destRotIndex = 0;
  myShip.autofireTimer = 15;
  myShip.bulletPower = 1.0f;
  myShip.shield = 10;
  myShip.speed = 2.0f;
  myShip.hit = 0;

  resetBullets();
  initGameGrid();
  gNextBonus = 100;
  gNextBonusIncrement = 50;
  gCurrentBackground = 0;
  resetAliens(); // also the bonuses and the floating scores; the particles live on
  resetReactor();
  gLevelTimer = 100;
  gLevel = 1;
  gScore = 0;
  gDifficulty = 160;
  gBulletRatio = 200;
  gAlienChoice = 0;
}

void loadGamePictures(sGameScreen &screen) {
  surf_backgrounds[0] = loadGamePicture("data\\background1.tga");
  surf_backgrounds[0]->allowTextureWrap(true);
  surf_backgrounds[1] = loadGamePicture("data\\background2.tga");
  surf_backgrounds[1]->allowTextureWrap(true);
  screen.surf_sprites = loadGamePicture("data\\sprites.tga");
  screen.surf_sprites->setTextureQuality(true);
}

void freeGamePictures(sGameScreen &screen) {
  delete screen.surf_sprites;
  screen.surf_sprites = nullptr;
  delete surf_backgrounds[0];
  delete surf_backgrounds[1];
  surf_backgrounds[0] = nullptr;
  surf_backgrounds[1] = nullptr;
}

void playGameParts(KGraphic *surf_sprites) {
  doAliens(surf_sprites);
  doEnemyBullet(surf_sprites);
  addAlien();
  doShip(surf_sprites);
  doShipBullet(surf_sprites);
  doShipCollision();
  displayInterface(surf_sprites);
  displayScore(gScore, surf_sprites);
}

eGameFrameEnd gameFrame(sGameScreen &screen) {
  KGraphic *surf_sprites = screen.surf_sprites;
  gameWindow->setDefaultWorldView();
  displayGameGrid();
  if (actionPressed(gKeyBindings, ACTION_PAUSE)) pauseGame(surf_sprites);

  playGameParts(surf_sprites);

  if (screen.fadeToWhite > 0) {
    screen.fadeToWhite -= 0.1f;
    surf_sprites->drawRect(0, 0, 480, 480, 0.4f, 0.9f, 1.0f, screen.fadeToWhite);
  }
  if (KInput::isPressed(K_VK_ESCAPE)) return GAME_ABANDONED; // before the flip, no entry

  gLevelTimer -= 0.05f;
  if (gLevelTimer < 0) gLevelTimer = 0;
  displayLevelNumber(surf_sprites, gLevelTimer);

  if (myShip.shield > 0) {
    screen.gameoverfade = 0;
    screen.gameoverTimer = 0;
  } else {
    runGameOver(surf_sprites, screen.gameoverfade, screen.gameoverTimer);
  }

  gameWindow->flipBackBuffer(true, true);
  return screen.gameoverTimer >= 2.0f ? GAME_OVER : GAME_GOES_ON;
}

void doGame() {
  sGameScreen screen;
  loadGamePictures(screen);
  playSound(snd_welcomegame);
  resetGame();
  gameWindow->displayMouse(false); // the ship flies by the keys: no pointer over the playfield

  do {
    eGameFrameEnd end = gameFrame(screen);
    if (end == GAME_ABANDONED) break;
    if (end == GAME_OVER) {
      isHighscore();
      break;
    }
  } while (!gameWindow->isQuit());

  // Whichever way the game ends, the screen gets its full brightness back.
  gameWindow->setGamma(1.0f);
  gameWindow->displayMouse(true);
  freeGamePictures(screen);
}
