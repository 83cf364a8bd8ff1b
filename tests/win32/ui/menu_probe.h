#pragma once

// Posted to the program's window with the reply window in wParam; the probe answers with
// WM_COPYDATA carrying the menu as "PopUp: &Enabled(checked) - &About... - E&xit".
constexpr wchar_t kMenuProbeMessage[] = L"Tunemood.Test.MenuProbe";
// Answered the same way with the program's shutdown level, in decimal digits.
constexpr wchar_t kShutdownLevelProbeMessage[] = L"Tunemood.Test.ShutdownLevelProbe";
// The WH_GETMESSAGE hook procedure the probe DLL exports.
constexpr char kMenuProbeHook[] = "MenuProbeHook";
