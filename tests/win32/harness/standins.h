#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "chat_standin.h"
#include "child_process.h"
#include "win32/handles.h"

// Registers the stand-in chat client's automation object for programs of this bitness.
bool RegisterChatStandIn();

// The stand-in chat client as a separate program.
class ChatClient {
 public:
  // Starts it showing the user's own mood text; false when it did not come up.
  bool Start(const std::wstring& mood);
  // The user closes it; false when it did not end cleanly.
  bool Close();
  bool Running() const { return mChat.has_value(); }
  const chat_standin::ChatStandIn& Chat() const { return *mChat; }

 private:
  ChildProcess mProcess;
  HWND mWindow = nullptr;
  std::optional<chat_standin::ChatStandIn> mChat;
};

// The stand-in player as a separate program.
class PlayerProgram {
 public:
  bool Start(const std::wstring& caption);
  // The player shows another caption: next track, pause, stop.
  bool Show(const std::wstring& caption) const;
  // The user closes it; false when it did not end cleanly.
  bool Close();

 private:
  ChildProcess mProcess;
  HWND mWindow = nullptr;
};

// A hidden window of the player's class made by the test itself, for tests that need no
// separate player.
class PlayerWindow {
 public:
  explicit PlayerWindow(const std::wstring& caption);
  void Show(const std::wstring& caption) const;

 private:
  UniqueWindow mWindow;
};
