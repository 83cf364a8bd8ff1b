#pragma once

#include <windows.h>

#include <optional>
#include <string>

// What a process holds, as Windows counts it.
struct ProcessCounters {
  SIZE_T privateBytes = 0;
  DWORD handles = 0;
  DWORD gdiObjects = 0;
  DWORD userObjects = 0;

  bool operator==(const ProcessCounters&) const = default;
};

// nullopt when the process cannot be asked.
std::optional<ProcessCounters> ReadCounters(HANDLE process);

struct SoakPlan {
  long ticks = 0;
  long warmup = 0;     // ticks before the second reading
  long chatEvery = 0;  // the chat client closes and starts again after so many ticks
};

struct SoakReport {
  long ticks = 0;
  double seconds = 0;
  ProcessCounters start;  // the window shown, synchronisation on
  ProcessCounters warm;   // after the warm-up
  ProcessCounters end;
  long writes = 0;  // mood texts the program wrote
  long chatRestarts = 0;
  long applicationsCreated = 0;  // over the whole run, across the chat client's restarts
  long mostLiveProfiles = 0;     // seen between ticks
};

// The real program, its ticks sent to its window one after the other, with the stand-in player
// playing, pausing, stopping and changing tracks and the stand-in chat client closing and
// starting again. nullopt with the reason when a step of the set-up fails.
std::optional<SoakReport> RunSoak(const SoakPlan& plan, std::wstring& failure);
