// What the menu's unit tests link against instead of the sound library: the master volumes
// the code sets are recorded.
#ifndef MENU_LINKS_H
#define MENU_LINKS_H

struct GlobalVolumes {
  int music = -1, sfx = -1;
  int calls = 0;
};
extern GlobalVolumes lastGlobalVolumes;

#endif
