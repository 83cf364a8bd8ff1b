// The handlers' explorer as a command of its own, for deeper runs than the unit tests afford:
// explore_handlers [DEPTH] explores every event to DEPTH (default 9); explore_handlers --closure
// [DEPTH] explores the world without events delivered inside a call until no level adds a
// state, or to DEPTH.
// Prints each level's states and time, then every rule broken.
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "app/explorer/explorer.h"

int main(int argc, char** argv) {
  const bool closure = argc > 1 && std::string_view(argv[1]) == "--closure";
  const char* depthArgument = argc > (closure ? 2 : 1) ? argv[closure ? 2 : 1] : nullptr;
  const int depth = depthArgument ? std::atoi(depthArgument) : closure ? INT_MAX : 9;
  const explorer::World world =
      closure ? explorer::WithoutNested(depth) : explorer::Everything(depth);
  const explorer::Exploration result = explorer::Explore(world, true);
  std::printf("%zu states to depth %d%s; %zu rules broken\n", result.states, result.depth,
              result.closed ? ", closed" : "", result.violations.size());
  for (const std::string& violation : result.violations) std::printf("\n%s\n", violation.c_str());
  return result.violations.empty() ? EXIT_SUCCESS : EXIT_FAILURE;
}
