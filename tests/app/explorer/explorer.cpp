#include "app/explorer/explorer.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <map>
#include <optional>
#include <unordered_set>

namespace explorer {

namespace {

// A state as the last step of the shortest sequence that reached it: states are rebuilt by
// running that sequence again, since the program's state lives in globals.
struct Node {
  std::uint32_t parent;
  std::uint8_t step;  // the index of the root for a root, else the event
};
static_assert(kEventCount <= UINT8_MAX, "a step holds every event");
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
  std::unordered_set<std::uint64_t> seen;
  std::map<std::string, std::string> violations;  // rule to its first sequence
  std::vector<std::uint32_t> level;
  std::optional<Run> run;

  const auto sequenceOf = [&](std::uint32_t index) {
    Sequence sequence{};
    for (; nodes[index].parent != kRoot; index = nodes[index].parent) {
      sequence.events.insert(sequence.events.begin(), static_cast<Event>(nodes[index].step));
    }
    sequence.root = roots[nodes[index].step];
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
  const auto visit = [&](std::uint32_t parent, std::uint8_t step, const Sequence& sequence) {
    if (!run->Violation().empty()) return note(sequence);
    if (!seen.insert(run->Hash()).second) return;
    if (run->Ended()) return;
    if (run->Quiet()) {
      run->CheckSettles();
      if (!run->Violation().empty()) return note(sequence);
    }
    nodes.push_back({parent, step});
    level.push_back(static_cast<std::uint32_t>(nodes.size() - 1));
  };

  for (std::uint8_t root = 0; root < roots.size(); ++root) {
    const Sequence sequence{roots[root], {}};
    Replay(run, sequence);
    visit(kRoot, root, sequence);
  }
  Exploration result;
  for (result.depth = 0; result.depth < world.depth && !level.empty(); ++result.depth) {
    std::vector<std::uint32_t> parents;
    parents.swap(level);
    for (const std::uint32_t parent : parents) {
      Sequence sequence = sequenceOf(parent);
      Replay(run, sequence);
      std::vector<Event> next;
      for (const Event event : world.events) {
        if (run->Applies(event)) next.push_back(event);
      }
      // The first child goes on from the parent's run; each other one runs the parent again.
      bool replayed = true;
      for (const Event event : next) {
        if (!replayed) Replay(run, sequence);
        replayed = false;
        run->Apply(event);
        sequence.events.push_back(event);
        visit(parent, static_cast<std::uint8_t>(event), sequence);
        sequence.events.pop_back();
      }
    }
    if (progress) {
      const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - began;
      std::printf("depth %d: %zu states, %.1f s\n", result.depth + 1, seen.size(), spent.count());
      std::fflush(stdout);
    }
  }
  run.reset();
  result.states = seen.size();
  result.closed = level.empty();
  for (auto& [rule, described] : violations) result.violations.push_back(std::move(described));
  return result;
}

}  // namespace explorer
