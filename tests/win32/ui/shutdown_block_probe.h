#pragma once

// Sent to the program's window with the reply window in wParam; the probe answers with
// WM_COPYDATA carrying the window's shutdown block reason, empty when it has none.
constexpr wchar_t kShutdownBlockProbeMessage[] = L"Tunemood.Test.ShutdownBlockProbe";
// The WH_CALLWNDPROC hook procedure the probe DLL exports.
constexpr char kShutdownBlockProbeHook[] = "ShutdownBlockProbeHook";
