// A long game, played by a script through the real loop on the software Direct3D device:
// the ship flies in every direction with the fire held, its shield is kept full, and a smart
// bomb clears the field whenever a level's time is up, so the levels go on far beyond where
// the difficulty bottoms out. Every pool of the game fills and empties again and again.
//
// Reports the level reached and the resident memory after the first level, at the end and at
// its peak; fails (exit code 1) when the memory grew by more than the allowed slack after the
// first level, or when the game ended early. Usage: soak_game [frames] (100000 by default).
//
// The runner logs every call on a sound; over 100 000 frames that log would be the growth
// measured, so the effect sounds are silenced during the play (the music still streams).
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "KWindow.h"
#include "ScriptedGame.h"
#include "aliens.h"
#include "zyphora.h"

namespace {

const long GROWTH_SLACK = 2 * 1024 * 1024; // bytes of resident memory allowed to appear

// Read with plain system calls: a FILE would allocate, and the soak counts what is allocated.
long residentBytes() {
  char text[128] = {};
  int statm = open("/proc/self/statm", O_RDONLY);
  if (statm < 0) return 0;
  ssize_t got = read(statm, text, sizeof text - 1);
  close(statm);
  long pages = 0, resident = 0;
  if (got <= 0 || std::sscanf(text, "%ld %ld", &pages, &resident) != 2) return 0;
  return resident * sysconf(_SC_PAGESIZE);
}

// The eight directions, each held 40 frames, with the fire held throughout.
Input flight(unsigned long frame) {
  static const int moves[8][2] = {
      {VK_UP, 0},   {VK_UP, VK_RIGHT},  {VK_RIGHT, 0}, {VK_DOWN, VK_RIGHT},
      {VK_DOWN, 0}, {VK_DOWN, VK_LEFT}, {VK_LEFT, 0},  {VK_UP, VK_LEFT},
  };
  const int *move = moves[(frame / 40) % 8];
  Input in;
  in.keys = {VK_SPACE, move[0]};
  if (move[1]) in.keys.push_back(move[1]);
  return in;
}

KSound **const effectSounds[] = {
    &snd_ennemyshot,       &snd_shipshot,    &snd_alienArrival, &snd_welcomegame,
    &snd_ennemyexplo,      &snd_bonusappear, &snd_gotBonus,     &snd_hitshell,
    &snd_changeBackground, &snd_herohit,     &snd_smartbomb,
};

} // namespace

int main(int argc, char **argv) {
  const unsigned long frames = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100000;
  ScriptedGame game;
  game.maxFrames = frames + 1000;
  long afterLevel1 = 0, peak = 0;
  int32_t levelReached = 0, mostAliens = 0, mostShots = 0;
  unsigned long played = 0;

  game.onFrame = [&](unsigned long frame) {
    if (frame == 0) return; // the frame shown before the game
    played = frame;
    myShip.shield = 10;
    if (gLevelTimer <= 0) killAllAliens();
    // Memory is read once a second of play, so that the check itself allocates next to nothing.
    if (gLevel >= 2 && afterLevel1 == 0)
      afterLevel1 = residentBytes();
    else if (afterLevel1 && frame % 60 == 0)
      peak = std::max(peak, residentBytes());
    levelReached = gLevel;
    int32_t aliens = 0, shots = 0;
    for (const sAlien &a : allAliens) aliens += a.alive;
    for (const sBullet &b : bulletEnnemy) shots += b.active;
    mostAliens = std::max(mostAliens, aliens);
    mostShots = std::max(mostShots, shots);
    if (frame % 10000 == 0)
      std::printf("frame %lu: level %d, score %d, %d aliens, resident %.1f MB\n", frame, gLevel,
                  gScore, aliens, residentBytes() / 1048576.0);
    if (frame >= frames)
      game.setInput(Input{{VK_ESCAPE}});
    else if (frame % 40 == 1) // a new direction
      game.setInput(flight(frame));
  };

  game.runWithWindow([] {
    KSound *kept[sizeof effectSounds / sizeof *effectSounds];
    for (size_t i = 0; i < sizeof effectSounds / sizeof *effectSounds; i++) {
      kept[i] = *effectSounds[i];
      *effectSounds[i] = nullptr;
    }
    gameWindow->flipBackBuffer(true, true);
    doGame();
    for (size_t i = 0; i < sizeof effectSounds / sizeof *effectSounds; i++)
      *effectSounds[i] = kept[i];
  });

  const long atEnd = residentBytes();
  std::printf("%lu frames, level %d, score %d, at most %d aliens and %d alien shots\n", played,
              levelReached, gScore, mostAliens, mostShots);
  std::printf("resident after level 1 %.1f MB, at the end %.1f MB, peak %.1f MB\n",
              afterLevel1 / 1048576.0, atEnd / 1048576.0, peak / 1048576.0);
  const bool fullLength = played >= frames && !game.ranAway();
  const bool flat = afterLevel1 > 0 && peak - afterLevel1 <= GROWTH_SLACK;
  if (!fullLength) std::printf("the game ended early\n");
  if (!flat) std::printf("resident memory grew after the first level\n");
  return fullLength && flat ? 0 : 1;
}
