// The handlers' explorer as a command of its own, for deeper runs than the unit tests afford:
// explore_handlers [DEPTH]. Prints each level's states and time, then every rule broken.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/explorer/explorer.h"

int main(int argc, char** argv) {
  const int depth = argc > 1 ? std::atoi(argv[1]) : 8;
  const explorer::Exploration result = explorer::Explore(depth, true);
  std::printf("%zu states to depth %d; %zu rules broken\n", result.states, result.depth,
              result.violations.size());
  for (const std::string& violation : result.violations) std::printf("\n%s\n", violation.c_str());
  return result.violations.empty() ? EXIT_SUCCESS : EXIT_FAILURE;
}
