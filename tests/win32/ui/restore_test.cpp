// Every way out of the program puts the user's own mood text back, here in the stand-in chat
// client.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "chat_standin.h"
#include "child_process.h"
#include "ui_test_support.h"
#include "win32/resource.h"

namespace {

using namespace std::chrono_literals;

const std::wstring kOwnMood = L"Out for lunch";

struct WayOut {
  const char* name;
  std::function<void(HWND)> take;
};

class RestoreTest : public ::testing::TestWithParam<WayOut> {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(chat_standin::RegisterServer(LinuxArgument(2))); }
  void SetUp() override {
    chatProcess = ChildProcess(LinuxArgument(1), L"");
    const HWND chatWindow = WaitForWindow(L"tSkMainForm", 10s, chatProcess.Id());
    ASSERT_NE(chatWindow, nullptr);
    chat.emplace(chatWindow);
    ASSERT_TRUE(chat->SetMood(kOwnMood));

    program = ChildProcess(LinuxArgument(0), L"");
    window = WaitForWindow(L"TunemoodMain", 10s, program.Id());
    ASSERT_NE(window, nullptr);
  }
  void TearDown() override {
    if (chatProcess.Running() && chat) Send(::FindWindowW(L"tSkMainForm", nullptr), WM_CLOSE, 0, 0);
  }

  ChildProcess chatProcess;
  std::optional<chat_standin::ChatStandIn> chat;
  ChildProcess program;
  HWND window = nullptr;
};

TEST_P(RestoreTest, PutsTheUsersOwnMoodBackWhileATrackIsShown) {
  const PlayerWindow player(L"1. Some Artist - Some Title - Winamp");
  ASSERT_TRUE(Send(window, WM_COMMAND, IDM_ENABLED, 0));
  ASSERT_TRUE(
      PumpUntil([&] { return chat->Mood().find(L"Some Title") != std::wstring::npos; }, 5s));

  GetParam().take(window);
  EXPECT_EQ(program.WaitForExit(5s), 0);
  EXPECT_EQ(chat->Mood(), kOwnMood);
}

INSTANTIATE_TEST_SUITE_P(
    WaysOut, RestoreTest,
    ::testing::Values(WayOut{"Exit", [](HWND w) { ::PostMessageW(w, WM_COMMAND, IDM_EXIT, 0); }},
                      WayOut{"CloseButton",
                             [](HWND w) { ::PostMessageW(w, WM_SYSCOMMAND, SC_CLOSE, 0); }},
                      WayOut{"EndOfSession",
                             [](HWND w) {
                               Send(w, WM_QUERYENDSESSION, 0, 0);
                               Send(w, WM_ENDSESSION, TRUE, 0);
                             }}),
    [](const ::testing::TestParamInfo<WayOut>& way) { return std::string(way.param.name); });

}  // namespace
