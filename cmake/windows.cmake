# The settings every Windows target of ours shares: each links tunemood_windows PRIVATE.
add_library(tunemood_windows INTERFACE)
# Wide-character APIs, a lean windows.h, std::min and std::max left alone, Windows 7 and later.
target_compile_definitions(tunemood_windows INTERFACE UNICODE _UNICODE WIN32_LEAN_AND_MEAN
  NOMINMAX _WIN32_WINNT=0x0601)
# Entered by wmain or wWinMain; no DLL beyond those Windows ships: the C++ runtime, libgcc and
# winpthread are linked in (a program that imports them does not start under Wine).
target_link_options(tunemood_windows INTERFACE -municode -static)
