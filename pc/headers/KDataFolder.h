#ifndef KDATAFOLDER_H
#define KDATAFOLDER_H

// Where the game's data lives. The program folder of KMiscTools is the first of these folders
// that holds data/menu.tga:
//   1. the executable's folder (a build tree, or a copy unpacked in one folder);
//   2. share/zyphora beside the executable's parent folder (an installed copy: bin/zyphora
//      with its data in share/zyphora/data);
//   3. share/games/zyphora there (Debian's layout for games: /usr/games/zyphora with its data
//      in /usr/share/games/zyphora/data).
// When none holds it, the program folder stays the executable's folder.
struct KDataSearch {
  static const int kCandidates = 3;
  char looked[kCandidates][260]; // the folders looked in, in order
  int found;                     // index into looked of the data folder, -1 when none holds it
};

// The search from a given executable folder (no trailing separator).
KDataSearch searchDataFolder(const char *programFolder);
// The search from the running executable's folder.
KDataSearch findDataFolder();

#endif
