// The title menu's globals: its items, the highlight and the volume steps.
#include "menu.h"
#include "zyphora.h"

bool gValidated = false;
int32_t gMenuActive = 0;
int32_t gVolumeMusic = 0; // set from the preferences when the menu starts
int32_t gVolumeSFX = 0;

sMenu menus[MENU_ITEMS] = {
    {481, 10, 643, 40, 158, 310, 1},  // 0: play
    {481, 37, 643, 67, 158, 337, 0},  // 1: options (its panel shows while highlighted)
    {481, 66, 643, 96, 158, 366, 0},  // 2: high scores (the table shows while highlighted)
    {481, 94, 643, 124, 158, 394, 0}, // 3: quit
};

// The item's picture is lit exactly when it is the one Return would confirm.
void highlightMenuItem(int32_t item) {
  gMenuActive = item;
  for (int i = 0; i < MENU_ITEMS; i++) menus[i].active = i == item ? 1 : 0;
}
