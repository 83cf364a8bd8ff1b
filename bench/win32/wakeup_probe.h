#pragma once

// Posted to the program's window with a reply window in wParam; the probe posts back
// kWakeupProbeReply with the count of messages the thread took from its queue in wParam and
// how many of them were timer messages in lParam, its own questions left out.
constexpr wchar_t kWakeupProbeQuestion[] = L"Tunemood.Bench.WakeupProbe";
constexpr unsigned kWakeupProbeReply = 0x8000 + 0x51;  // WM_APP + 0x51
// The WH_GETMESSAGE hook procedure the probe DLL exports.
constexpr char kWakeupProbeHook[] = "WakeupProbeHook";
