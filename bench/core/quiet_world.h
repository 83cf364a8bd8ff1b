#pragma once

#include "app/live_outside.h"
#include "app/synchroniser.h"
#include "fake_platform/fake_chat_client.h"
#include "fake_platform/fake_desktop.h"
#include "fake_platform/fake_form.h"
#include "fake_platform/fake_registry.h"

// The player and the chat client in memory, on the tests' platform: what is left of a tick is
// the portable core's own work. Nothing is logged, so a long run stays the same size.
namespace quiet_world {

constexpr WindowHandle kChatWindow = 0x1002;
constexpr WindowHandle kPlayerWindow = 0x2004;

// One synchroniser, switched on, with a window that draws its report on every tick.
struct World {
  FakeDesktop desktop;
  FakeRegistry registry;  // no policy set
  FakeAutomation automation;
  LiveOutside outside{desktop, registry, automation};
  FakeForm form{outside};
  Synchroniser sync{outside, form};

  World();
  // Plays the n-th of a few tracks: a new track is written once, then the ticks are quiet.
  void Play(int n);
};

}  // namespace quiet_world
