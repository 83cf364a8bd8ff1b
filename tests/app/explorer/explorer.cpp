#include "app/explorer/explorer.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <map>
#include <optional>
#include <unordered_map>
#include <utility>

namespace explorer {

namespace {

// A state as the last move of the shortest sequence that reached it: states are rebuilt by
// running that sequence again, since the program's state lives in globals. A move is one event,
// or the messages armed for a call followed by the event whose call they come in: a message
// waiting across events that make no such call behaves as one armed after them, so it is only
// ever armed just before the event that delivers it.
constexpr std::uint8_t kNoStep = UINT8_MAX;
static_assert(kEventCount < kNoStep, "a step holds every event");
using Move = std::array<std::uint8_t, 3>;  // up to three events; kNoStep after the last
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

Move MoveOf(std::initializer_list<Event> events) {
  Move move{kNoStep, kNoStep, kNoStep};
  std::size_t i = 0;
  for (const Event event : events) move.at(i++) = static_cast<std::uint8_t>(event);
  return move;
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
    visit(kRoot, MoveOf({static_cast<Event>(root)}), sequence);
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
      std::vector<Event> events;
      std::vector<Event> messages;
      for (const Event event : world.events) {
        if (run->Applies(event)) (IsNested(event) ? messages : events).push_back(event);
      }
      // The first move goes on from the parent's run; each other one runs the parent again.
      bool replayed = true;
      // Makes one move, if each of its events applies in turn; returns the slots that the
      // calls of its last event reached.
      const auto step = [&](std::initializer_list<Event> move) -> unsigned {
        if (depth + static_cast<int>(move.size()) > world.depth) return 0;
        if (!replayed) Replay(run, sequence);
        replayed = false;
        for (const Event event : move) {
          if (!run->Applies(event)) return 0;
          run->Apply(event);
        }
        const unsigned reached = run->SlotsReached();
        if (run->Undelivered()) return 0;  // a message never delivered: the same move without it
        const std::size_t before = sequence.events.size();
        sequence.events.insert(sequence.events.end(), move);
        visit(parent, MoveOf(move), sequence);
        sequence.events.resize(before);
        return reached;
      };
      std::vector<std::pair<Event, unsigned>> calling;  // an event, and the slots it reaches
      for (const Event event : events) {
        if (const unsigned reached = step({event}); reached != 0)
          calling.push_back({event, reached});
      }
      // The messages that may come second in the same wait, once each first one is armed.
      std::map<Event, std::vector<Event>> seconds;
      const auto secondsAfter = [&](Event first) -> const std::vector<Event>& {
        const auto [listed, fresh] = seconds.try_emplace(first);
        if (!fresh || depth + 3 > world.depth) return listed->second;
        Replay(run, sequence);
        replayed = false;
        run->Apply(first);
        for (const Event event : world.events) {
          if (IsNested(event) && run->Applies(event)) listed->second.push_back(event);
        }
        return listed->second;
      };
      for (const auto& [event, reached] : calling) {
        for (const Event message : messages) {
          if ((reached & (1U << static_cast<unsigned>(NestedSlot(message)))) == 0) continue;
          step({message, event});
          for (const Event second : secondsAfter(message)) step({message, second, event});
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
