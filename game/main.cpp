// The program's entry: the whole run is the game's entry sequence. Arguments are not read.
#include "zyphora.h"

int main() { return zyphoraMain(); }
