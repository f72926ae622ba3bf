// The desktop around the game, set up by the launch before the entry sequence.
#ifndef ZYPHORA_SESSION_H
#define ZYPHORA_SESSION_H

// SIGINT, SIGTERM and SIGHUP end the game as closing its window does (the menu saves the
// preferences and the program ends with status 0); the preferences are saved when the display
// goes away under the game. False, said on standard error, when no display can be opened and no
// video driver was asked for by name: the launch then ends with status 1.
bool startDesktopSession();

#endif
