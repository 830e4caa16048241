// The DirectShow identifiers the player names, defined here: the import library keeps all of
// them in one object, some 20 KB of the shipped file, where a handful are used.
#include <initguid.h>

#include <dshow.h>
