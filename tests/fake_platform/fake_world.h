#pragma once

#include <string>

#include "app/live_outside.h"
#include "fake_platform/fake_chat_client.h"
#include "fake_platform/fake_desktop.h"
#include "fake_platform/fake_registry.h"
#include "fake_platform/recording_outside.h"

// The player and the chat client in memory, as the program sees them through the real
// LiveOutside, every call recorded. Hand `outside` to the code under test.
struct FakeWorld {
  static constexpr WindowHandle kChatWindow = 77;
  static constexpr WindowHandle kPlayerWindow = 4242;

  FakeWorld() = default;
  // The outside objects refer to the fakes beside them: a copy would drive the original's.
  FakeWorld(const FakeWorld&) = delete;
  FakeWorld& operator=(const FakeWorld&) = delete;

  FakeDesktop desktop;
  FakeRegistry registry;
  FakeAutomation automation;
  FakeChatClient& chat = automation.client;
  LiveOutside live{desktop, registry, automation};
  RecordingOutside outside{live};

  void OpenChat(WindowHandle window = kChatWindow) { desktop.windows[kChatClass] = window; }
  void CloseChat() { desktop.windows.erase(kChatClass); }

  void Play(const std::wstring& track) { Show(L"1. " + track + L" - Winamp"); }
  void Pause(const std::wstring& track) { Show(L"1. " + track + L" - Winamp [Paused]"); }
  void Stop(const std::wstring& track) { Show(L"1. " + track + L" - Winamp [Stopped]"); }
  void Show(const std::wstring& caption) { desktop.ShowPlayer(kPlayerWindow, caption); }
  void ClosePlayer() { desktop.ClosePlayer(); }

  // The next reads or writes of the mood that fail; -1 for all.
  void FailReads(int count) { chat.failNext[L"ReadMood"] = count; }
  void FailWrites(int count) { chat.failNext[L"WriteMood"] = count; }
};
