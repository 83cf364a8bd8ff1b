// Every order of events up to a depth, from every start: the rules that the handlers keep
// whatever the order in which the timer, the user, the chat client and the player act.
// scripts/explore runs the same search deeper.
#include "app/explorer/explorer.h"

#include <gtest/gtest.h>

namespace {

// Deep enough for a switch, a failure, the user typing and the track changing around two ticks,
// in every order, in about ten seconds; under the sanitizers, two events less.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kDepth = 5;
#else
constexpr int kDepth = 7;
#endif

TEST(HandlerExplorer, EveryOrderOfEventsKeepsTheRules) {
  const explorer::Exploration result = explorer::Explore(kDepth);
  EXPECT_EQ(result.depth, kDepth);
  for (const std::string& violation : result.violations) ADD_FAILURE() << violation;
}

}  // namespace
