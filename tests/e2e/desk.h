#pragma once

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>

#include "chat_standin.h"
#include "child_process.h"

// The stand-in player, the stand-in chat client and Tunemood on one desktop, driven from the
// outside as the user and the two programs would.
class Desk {
 public:
  Desk() = default;
  Desk(const Desk&) = delete;
  Desk& operator=(const Desk&) = delete;
  ~Desk();

  // The chat client starts with the user's own mood text.
  bool StartChat(const std::wstring& mood);
  // The user closes the chat client.
  bool CloseChat();
  const chat_standin::ChatStandIn& Chat() const { return *mChat; }
  bool ChatRunning() const { return mChat.has_value(); }

  bool StartPlayer(const std::wstring& caption);
  // The player shows another caption: next track, pause, stop.
  bool ShowCaption(const std::wstring& caption);
  bool ClosePlayer();

  bool StartTunemood();
  HWND TunemoodWindow() const { return mTunemoodWindow; }
  // Picks a menu command of Tunemood's window and returns when it has run.
  bool Command(UINT id);
  // Ends Tunemood by its menu, its close button or a Windows log-off; its exit code, or -1
  // when it did not end.
  long ExitByMenu();
  long CloseTunemood();
  long LogOff();
  // Starts Tunemood again beside the running one; its exit code, or -1 when it stayed.
  long StartSecondCopy();

  // Polls the chat client's mood text until it is `expected`; false when the time runs out.
  bool MoodBecomes(const std::wstring& expected,
                   std::chrono::milliseconds timeout = std::chrono::milliseconds(3500)) const;
  // Waits for the first tick that reads the chat client's mood.
  bool WaitForRead(std::chrono::milliseconds timeout = std::chrono::milliseconds(3500)) const;
  // Lets a little more than a whole tick pass, for checks that nothing happens.
  static void WaitOneTick();

 private:
  long WaitForTunemoodExit();

  ChildProcess mChatProcess;
  HWND mChatWindow = nullptr;
  std::optional<chat_standin::ChatStandIn> mChat;
  ChildProcess mPlayerProcess;
  HWND mPlayerWindow = nullptr;
  ChildProcess mTunemood;
  HWND mTunemoodWindow = nullptr;
};

// Registers the stand-in's automation object for programs of this bitness.
bool RegisterChatStandIn();
