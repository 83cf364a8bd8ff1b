#include "core/quiet_world.h"

#include "app/state.h"

namespace quiet_world {

World::World() {
  gInitialMood.clear();
  gInitialMoodKnown = false;
  gEnabled = true;
}

void World::Play(int n) {
  desktop.caption =
      std::to_wstring(n) + L". Artist " + std::to_wstring(n % 7) + L" - Title - Winamp";
}

}  // namespace quiet_world
