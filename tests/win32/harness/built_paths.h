#pragma once

#include <string>

// Where the build put the programs and DLLs the tests drive, as Wine's Windows programs see
// them.
std::wstring TunemoodPath();
std::wstring StandinPlayerPath();
std::wstring StandinChatPath();
std::wstring StandinChatComPath();
std::wstring MenuProbePath();
std::wstring ReportProbePath();
std::wstring WakeupProbePath();
std::wstring ShutdownBlockProbePath();
