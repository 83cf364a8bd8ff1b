#include "built_paths.h"

namespace {

// The build knows them as Linux paths; Wine's drive Z: is /.
std::wstring WindowsPath(const char* linuxPath) {
  std::wstring path = L"Z:";
  for (const char* c = linuxPath; *c != '\0'; ++c)
    path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
  return path;
}

}  // namespace

std::wstring TunemoodPath() {
  return WindowsPath(TUNEMOOD_EXE);
}

std::wstring StandinPlayerPath() {
  return WindowsPath(STANDIN_PLAYER);
}

std::wstring StandinChatPath() {
  return WindowsPath(STANDIN_CHAT);
}

std::wstring StandinChatComPath() {
  return WindowsPath(STANDIN_CHAT_COM);
}

std::wstring MenuProbePath() {
  return WindowsPath(MENU_PROBE);
}

std::wstring ReportProbePath() {
  return WindowsPath(REPORT_PROBE);
}

std::wstring WakeupProbePath() {
  return WindowsPath(WAKEUP_PROBE);
}

std::wstring ShutdownBlockProbePath() {
  return WindowsPath(SHUTDOWN_BLOCK_PROBE);
}
