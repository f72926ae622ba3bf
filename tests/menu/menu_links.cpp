#include "menu_links.h"

#include "KSound.h"
#include "zyphora.h"

GlobalVolumes lastGlobalVolumes;

void KSound::setGlobalVolumes(int musicVolume, int sfxVolume) {
  lastGlobalVolumes.music = musicVolume;
  lastGlobalVolumes.sfx = sfxVolume;
  lastGlobalVolumes.calls++;
}
