#pragma once

#include <optional>
#include <string>

// Milliseconds from starting the program to its first visible top-level window of the class.
std::optional<double> StartToWindow(const std::wstring& program, const std::wstring& arguments,
                                    const wchar_t* windowClass);

struct Wakeups {
  double perSecond = 0;  // messages the thread took from its queue
  double timersPerSecond = 0;
};

// Tunemood alone, left idle for the seconds given, counted from inside its thread by the probe.
std::optional<Wakeups> IdleWakeups(const std::wstring& tunemood, const std::wstring& probeDll,
                                   double seconds);
