#include "core/quiet_world.h"

#include <string>

#include "app/state.h"

namespace quiet_world {

World::World() {
  desktop.windows[kChatClass] = kChatWindow;
  desktop.ShowPlayer(kPlayerWindow, L"12. Artist - Title - Winamp");
  automation.client.mood = L"Out for lunch";
  automation.client.keepCalls = false;
  gInitialMood.clear();
  gInitialMoodKnown = false;
  gEnabled = true;
}

void World::Play(int n) {
  desktop.captions[kPlayerWindow] =
      std::to_wstring(n) + L". Artist " + std::to_wstring(n % 7) + L" - Title - Winamp";
}

}  // namespace quiet_world
