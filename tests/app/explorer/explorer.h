#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace explorer {

struct Exploration {
  std::size_t states = 0;  // distinct states reached, the starts included
  int depth = 0;           // events after the start
  // Each broken rule, the first time it was seen, with a shortest sequence that breaks it and
  // the calls into the chat client on the way.
  std::vector<std::string> violations;
};

// Tries every order of up to `depth` events from every start, breadth first, merging states
// that behave alike. Reports on each level as it finishes when `progress` is set.
Exploration Explore(int depth, bool progress = false);

}  // namespace explorer
