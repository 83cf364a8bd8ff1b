#pragma once

#include <optional>

// One run of the program's tick, with its report, against the baseline of the same outside
// calls, over the real window lookups, registry and chat client object. The stand-in chat
// client and the stand-in player, showing a playing track, must run, and COM be initialised.
struct TickTimes {
  long ticks = 0;  // of each
  double programSeconds = 0;
  double baselineSeconds = 0;
  // The median of the rounds' ratios: a round that another process slowed down counts once.
  double medianRatio = 0;
  long writesWhileTimed = 0;  // the program's, should be 0: the track is shown already
};

// Alternates short rounds of each, in turns first, so that a slower moment of the machine hits
// both alike.
std::optional<TickTimes> MeasureTickRatio(long ticks, int rounds);
