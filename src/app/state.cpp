#include "app/state.h"

std::wstring gInitialMood;
bool gInitialMoodKnown = false;
bool gEnabled = false;
