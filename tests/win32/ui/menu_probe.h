#pragma once

// Posted to the program's window with the reply window in wParam; the probe answers with
// WM_COPYDATA carrying the menu as "PopUp: &Enabled(checked) - &About... - E&xit".
constexpr wchar_t kMenuProbeMessage[] = L"Tunemood.Test.MenuProbe";
// Answered the same way with the program's shutdown level, in decimal digits.
constexpr wchar_t kShutdownLevelProbeMessage[] = L"Tunemood.Test.ShutdownLevelProbe";
// Answered the same way with how many mouse button releases the program's thread has taken from
// its queue since the probe loaded, in decimal digits: once both of a double-click's are taken,
// the double-click itself has been handled.
constexpr wchar_t kButtonUpsProbeMessage[] = L"Tunemood.Test.ButtonUpsProbe";
// The WH_GETMESSAGE hook procedure the probe DLL exports.
constexpr char kMenuProbeHook[] = "MenuProbeHook";
