#pragma once

#include <memory>
#include <string>

#include "app/live_outside.h"
#include "app/synchroniser.h"
#include "core/report_form.h"
#include "platform/automation.h"
#include "platform/desktop.h"
#include "platform/registry.h"

// The player and the chat client as fixed answers behind the platform ports: what is left of a
// tick is the portable core's own work. Nothing is logged, so a long run stays the same size.
namespace quiet_world {

constexpr WindowHandle kChatWindow = 0x1002;
constexpr WindowHandle kPlayerWindow = 0x2004;

class Desktop final : public ::Desktop {
 public:
  std::wstring caption = L"12. Artist - Title - Winamp";

  WindowHandle FindWindowByClass(const wchar_t* className) const override {
    return std::wstring_view(className) == L"tSkMainForm" ? kChatWindow : kPlayerWindow;
  }
  std::wstring ReadWindowText(WindowHandle window) const override {
    return window == kPlayerWindow ? caption : std::wstring();
  }
};

class Registry final : public ::Registry {
 public:
  bool ReadValue(Hive, const wchar_t*, const wchar_t*,
                 std::array<std::uint8_t, 4>& buffer) const override {
    buffer.fill(0);
    return false;  // no policy set
  }
};

class Profile final : public ChatProfile {
 public:
  explicit Profile(std::wstring& mood) : mMood(mood) {}
  bool ReadMoodText(std::wstring& text) override {
    text = mMood;
    return true;
  }
  bool WriteMoodText(const std::wstring& text) override {
    mMood = text;
    return true;
  }

 private:
  std::wstring& mMood;
};

class Application final : public ChatApplication {
 public:
  explicit Application(std::wstring& mood) : mMood(mood) {}
  bool Connect() override { return true; }
  std::unique_ptr<ChatProfile> ReadProfile() override { return std::make_unique<Profile>(mMood); }

 private:
  std::wstring& mMood;
};

class Automation final : public ::Automation {
 public:
  std::wstring mood = L"Out for lunch";
  std::unique_ptr<ChatApplication> CreateApplication() override {
    return std::make_unique<Application>(mood);
  }
};

// One synchroniser, switched on, over the quiet world.
struct World {
  Desktop desktop;
  Registry registry;
  Automation automation;
  LiveOutside outside{desktop, registry, automation};
  ReportForm form{outside};
  Synchroniser sync{outside, form};

  World();
  // Plays the n-th of a few tracks: a new track is written once, then the ticks are quiet.
  void Play(int n);
};

}  // namespace quiet_world
