#include "app/explorer/explorer.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <map>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace explorer {

namespace {

// A state as the last move of the shortest sequence that reached it: states are rebuilt by
// running that sequence again, since the program's state lives in globals. A move is one event,
// or the failures and messages armed for calls, followed by the event whose calls spend and
// deliver them: the program cannot see what is armed before its call runs, so what waits across
// events that make no such call behaves as if armed after them, and is only ever armed just
// before the event that uses it.
constexpr std::uint8_t kNoStep = UINT8_MAX;
static_assert(kEventCount < kNoStep, "a step holds every event");
// Up to five failures and two messages armed, then the event whose calls use them; kNoStep after
// the last.
using Move = std::array<std::uint8_t, 8>;
struct Node {
  std::uint32_t parent;
  Move move;           // for a root, the index of the root first
  std::uint8_t depth;  // events after the start
};
constexpr std::uint32_t kRoot = UINT32_MAX;

struct Root {
  Start start;
  Waits waits;
};

struct Sequence {
  Root root;
  std::vector<Event> events;
};

template <typename T>
std::vector<T> All(T count) {
  std::vector<T> all;
  for (int i = 0; i < static_cast<int>(count); ++i) all.push_back(static_cast<T>(i));
  return all;
}

void Replay(std::optional<Run>& run, const Sequence& sequence, bool keepCalls = false) {
  run.reset();
  run.emplace(sequence.root.start, sequence.root.waits, keepCalls);
  for (const Event event : sequence.events) run->Apply(event);
}

std::string Describe(const std::string& rule, const Sequence& sequence) {
  std::string text =
      rule + "\n  from " + Name(sequence.root.start) + ", with " + Name(sequence.root.waits) + ":";
  for (const Event event : sequence.events) text += "\n    " + Name(event);
  std::optional<Run> run;
  Replay(run, sequence, true);
  if (run->Quiet()) run->CheckSettles();
  return text + "\n  calls into the chat client:" + run->CallLog();
}

Move MoveOf(const std::vector<Event>& armed, Event last) {
  Move move;
  move.fill(kNoStep);
  std::size_t i = 0;
  for (const Event event : armed) move.at(i++) = static_cast<std::uint8_t>(event);
  move.at(i) = static_cast<std::uint8_t>(last);
  return move;
}

// What a move's last event reached with what was armed before it: see Run::SlotsReached.
struct Reach {
  unsigned slots;
  unsigned calls;
};

// Whether `armer` may be armed after `armed`, before an event whose calls reached `reach`: a
// failure once for each kind of call reached, up to two messages for one slot reached.
bool Reachable(Event armer, const std::vector<Event>& armed, const Reach& reach) {
  if (!IsNested(armer)) {
    const auto kind = static_cast<unsigned>(armer) - static_cast<unsigned>(Event::CreateFails);
    return (reach.calls & (1U << kind)) != 0 && std::ranges::find(armed, armer) == armed.end();
  }
  const Slot slot = NestedSlot(armer);
  if ((reach.slots & (1U << static_cast<unsigned>(slot))) == 0) return false;
  int messages = 0;
  for (const Event event : armed) {
    if (!IsNested(event)) continue;
    if (NestedSlot(event) != slot) return false;
    ++messages;
  }
  return messages < 2;
}

// The same failures in any order, and the same messages in the same order, arm alike.
std::uint32_t Key(const std::vector<Event>& armed) {
  std::uint32_t failures = 0;
  std::uint32_t messages = 0;
  for (const Event event : armed) {
    if (IsNested(event)) {
      messages = messages * (kNoStep + 1U) + static_cast<std::uint32_t>(event) + 1U;
    } else {
      failures |= 1U << (static_cast<unsigned>(event) - static_cast<unsigned>(Event::CreateFails));
    }
  }
  return (messages << 5U) | failures;
}

}  // namespace

World Everything(int depth) {
  return {All(Start::Count), All(Waits::Count), All(static_cast<Event>(kEventCount)), depth};
}

World WithoutNested(int depth) {
  return {All(Start::Count), All(Waits::Count), All(Event::FirstNested), depth};
}

Exploration Explore(const World& world, bool progress) {
  const auto began = std::chrono::steady_clock::now();
  std::vector<Root> roots;
  for (const Start start : world.starts) {
    for (const Waits waits : world.waits) roots.push_back({start, waits});
  }
  std::vector<Node> nodes;
  // Each state reached, by its hash, with the fewest events that reach it: a state first met
  // through a longer move may be met again through shorter ones.
  std::unordered_map<std::uint64_t, int> seen;
  std::vector<std::size_t> statesAt;               // states by their fewest events
  std::vector<std::vector<std::uint32_t>> levels;  // the nodes to go on from, by depth
  std::map<std::string, std::string> violations;   // rule to its first sequence
  std::optional<Run> run;

  const auto sequenceOf = [&](std::uint32_t index) {
    Sequence sequence{};
    for (; nodes[index].parent != kRoot; index = nodes[index].parent) {
      std::vector<Event> move;
      for (const std::uint8_t step : nodes[index].move) {
        if (step != kNoStep) move.push_back(static_cast<Event>(step));
      }
      sequence.events.insert(sequence.events.begin(), move.begin(), move.end());
    }
    sequence.root = roots[nodes[index].move[0]];
    return sequence;
  };
  // Keeps the first sequence that breaks each rule. The run is spent: runs share the globals.
  const auto note = [&](const Sequence& sequence) {
    const std::string rule = run->Violation();
    run.reset();
    const bool first = violations.try_emplace(rule, Describe(rule, sequence)).second;
    if (progress && first)
      std::printf("broken at depth %zu: %s\n", sequence.events.size(), rule.c_str());
  };
  const auto visit = [&](std::uint32_t parent, const Move& move, const Sequence& sequence) {
    if (!run->Violation().empty()) return note(sequence);
    const int depth = static_cast<int>(sequence.events.size());
    const auto [found, fresh] = seen.try_emplace(run->Hash(), depth);
    if (!fresh) {
      if (found->second <= depth) return;
      --statesAt[static_cast<std::size_t>(found->second)];
      found->second = depth;
    }
    if (statesAt.size() <= static_cast<std::size_t>(depth)) {
      statesAt.resize(static_cast<std::size_t>(depth) + 1);
      levels.resize(static_cast<std::size_t>(depth) + 1);
    }
    ++statesAt[static_cast<std::size_t>(depth)];
    if (run->Ended()) return;
    if (run->Quiet()) {
      run->CheckSettles();
      if (!run->Violation().empty()) return note(sequence);
    }
    nodes.push_back({parent, move, static_cast<std::uint8_t>(depth)});
    levels[static_cast<std::size_t>(depth)].push_back(static_cast<std::uint32_t>(nodes.size() - 1));
  };
  const auto pending = [&](std::size_t from) {
    for (std::size_t depth = from; depth < levels.size(); ++depth) {
      if (!levels[depth].empty()) return true;
    }
    return false;
  };

  for (std::uint8_t root = 0; root < roots.size(); ++root) {
    const Sequence sequence{roots[root], {}};
    Replay(run, sequence);
    visit(kRoot, MoveOf({}, static_cast<Event>(root)), sequence);
  }
  Exploration result;
  for (result.depth = 0;
       result.depth < world.depth && pending(static_cast<std::size_t>(result.depth));
       ++result.depth) {
    const int depth = result.depth;
    std::vector<std::uint32_t> parents;
    parents.swap(levels[static_cast<std::size_t>(depth)]);
    for (const std::uint32_t parent : parents) {
      Sequence sequence = sequenceOf(parent);
      Replay(run, sequence);
      // Met again through fewer events, it is gone on from there.
      if (seen.at(run->Hash()) != depth) continue;
      std::vector<Event> lasts;   // events that may end a move: they apply here
      std::vector<Event> armers;  // events that arm a message or a failure for a later call
      for (const Event event : world.events) {
        if (Arms(event)) {
          armers.push_back(event);
        } else if (run->Applies(event)) {
          lasts.push_back(event);
        }
      }
      // The first move goes on from the parent's run; each other one runs the parent again.
      bool replayed = true;
      // Makes one move, if each of its events applies in turn and all it armed was delivered or
      // spent: it says what the calls of its last event reached, to arm next.
      const auto step = [&](const std::vector<Event>& armed, Event last) -> std::optional<Reach> {
        if (depth + static_cast<int>(armed.size()) + 1 > world.depth) return std::nullopt;
        if (!replayed) Replay(run, sequence);
        replayed = false;
        for (const Event event : armed) {
          if (!run->Applies(event)) return std::nullopt;
          run->Apply(event);
        }
        if (!run->Applies(last)) return std::nullopt;
        run->Apply(last);
        const Reach reach{run->SlotsReached(), run->CallsReached()};
        // Something never delivered or spent: the same move without it.
        if (run->Undelivered()) return std::nullopt;
        const std::size_t before = sequence.events.size();
        sequence.events.insert(sequence.events.end(), armed.begin(), armed.end());
        sequence.events.push_back(last);
        visit(parent, MoveOf(armed, last), sequence);
        sequence.events.resize(before);
        return reach;
      };
      for (const Event last : lasts) {
        const std::optional<Reach> alone = step({}, last);
        if (!alone) continue;
        // Each set of armed failures and list of messages once, grown from the moves made by
        // what their calls reached: whatever is used first in a move is reached without it.
        std::unordered_set<std::uint32_t> tried;
        std::vector<std::pair<std::vector<Event>, Reach>> grown{{{}, *alone}};
        while (!grown.empty()) {
          const auto [armed, reach] = std::move(grown.back());
          grown.pop_back();
          for (const Event armer : armers) {
            if (!Reachable(armer, armed, reach)) continue;
            std::vector<Event> more = armed;
            more.push_back(armer);
            if (!tried.insert(Key(more)).second) continue;
            if (const std::optional<Reach> next = step(more, last)) grown.push_back({more, *next});
          }
        }
      }
    }
    if (progress) {
      const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - began;
      std::size_t states = 0;
      for (int d = 0; d <= depth + 1 && d < static_cast<int>(statesAt.size()); ++d) {
        states += statesAt[static_cast<std::size_t>(d)];
      }
      std::printf("depth %d: %zu states, %.1f s\n", depth + 1, states, spent.count());
      std::fflush(stdout);
    }
  }
  run.reset();
  result.states = seen.size();
  result.closed = !pending(static_cast<std::size_t>(result.depth));
  for (auto& [rule, described] : violations) result.violations.push_back(std::move(described));
  return result;
}

}  // namespace explorer
