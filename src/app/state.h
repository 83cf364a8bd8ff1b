#pragma once

#include <string>

// The user's own mood text, saved so that it can be put back; "" while none is known.
extern std::wstring gInitialMood;
// True once gInitialMood holds a text read from the chat client.
extern bool gInitialMoodKnown;
// True while synchronisation is switched on.
extern bool gEnabled;
