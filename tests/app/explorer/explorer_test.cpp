// Every order of events up to a depth, from every start: the rules that the window's life keeps
// whatever the order in which the timer, the user, Windows, the chat client and the player act.
// scripts/explore runs the same search deeper.
#include "app/explorer/explorer.h"

#include <gtest/gtest.h>

namespace {

using explorer::Event;
using explorer::Start;
using explorer::Waits;

// Deep enough for a switch, a track and two messages inside a tick's call, in every order, in
// about ten seconds; under the sanitizers, which slow it tenfold, one event less.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kDepth = 4;
#else
constexpr int kDepth = 5;
#endif

TEST(HandlerExplorer, EveryOrderOfEventsKeepsTheRules) {
  const explorer::Exploration result = explorer::Explore(explorer::Everything(kDepth));
  EXPECT_EQ(result.depth, kDepth);
  for (const std::string& violation : result.violations) ADD_FAILURE() << violation;
}

// A world small enough to count by hand: the chat client closed, nothing but the switch and the
// close. Off and on, each open and each ended: an ended state may not hide an open one.
TEST(HandlerExplorer, ReachesEveryStateOfASmallWorldOnce) {
  const explorer::Exploration result = explorer::Explore(
      {{Start::ChatClosed}, {Waits::Returns}, {Event::Enabled, Event::Close}, 10});
  EXPECT_TRUE(result.violations.empty());
  EXPECT_EQ(result.states, 4U);
  EXPECT_TRUE(result.closed);
  EXPECT_EQ(result.depth, 2);
}

}  // namespace
