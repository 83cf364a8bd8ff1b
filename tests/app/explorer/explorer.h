#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "app/explorer/run.h"

namespace explorer {

// What is explored: the starts, the components' ways of waiting, the events that may come next
// and how many of them at most.
struct World {
  std::vector<Start> starts;
  std::vector<Waits> waits;
  std::vector<Event> events;
  int depth = 0;
};
// Every start, every way of waiting and every event.
World Everything(int depth);
// The same without the events delivered inside a call.
World WithoutNested(int depth);

struct Exploration {
  std::size_t states = 0;  // distinct states reached, the starts included
  int depth = 0;           // events after the start
  bool closed = false;     // the last level reached no new state: nothing more can be reached
  // Each broken rule, the first time it was seen, with a shortest sequence that breaks it and
  // the calls into the chat client on the way.
  std::vector<std::string> violations;
};

// Tries every order of up to `world.depth` events from every start, breadth first, merging
// states that behave alike, and stops early where a level reaches nothing new. A failure of the
// next call of a kind, or a message to come inside a call, counts as an event, and is armed only
// just before the event whose call uses it. Reports on each level as it finishes, and on each
// rule the first time it is broken, when `progress` is set.
Exploration Explore(const World& world, bool progress = false);

}  // namespace explorer
