#include "app/explorer/explorer.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <map>
#include <optional>
#include <unordered_set>

#include "app/explorer/run.h"

namespace explorer {

namespace {

// A state as the last step of the shortest sequence that reached it: states are rebuilt by
// running that sequence again, since the program's state lives in globals.
struct Node {
  std::uint32_t parent;
  std::uint8_t step;  // the start for a root, else the event
};
constexpr std::uint32_t kRoot = UINT32_MAX;

struct Sequence {
  Start start;
  std::vector<Event> events;
};

Sequence SequenceOf(const std::vector<Node>& nodes, std::uint32_t index) {
  Sequence sequence{};
  for (; nodes[index].parent != kRoot; index = nodes[index].parent) {
    sequence.events.insert(sequence.events.begin(), static_cast<Event>(nodes[index].step));
  }
  sequence.start = static_cast<Start>(nodes[index].step);
  return sequence;
}

void Replay(std::optional<Run>& run, const Sequence& sequence, bool keepCalls = false) {
  run.reset();
  run.emplace(sequence.start, keepCalls);
  for (const Event event : sequence.events) run->Apply(event);
}

std::string Describe(const std::string& rule, const Sequence& sequence) {
  std::string text = rule + "\n  from " + std::string(Name(sequence.start)) + ":";
  for (const Event event : sequence.events) text += "\n    " + std::string(Name(event));
  std::optional<Run> run;
  Replay(run, sequence, true);
  if (run->Quiet()) run->CheckSettles();
  return text + "\n  calls into the chat client:" + run->CallLog();
}

}  // namespace

Exploration Explore(int depth, bool progress) {
  const auto began = std::chrono::steady_clock::now();
  std::vector<Node> nodes;
  std::unordered_set<std::uint64_t> seen;
  std::map<std::string, std::string> violations;  // rule to its first sequence
  std::vector<std::uint32_t> level;
  std::optional<Run> run;

  // Keeps the first sequence that breaks each rule. The run is spent: runs share the globals.
  const auto note = [&](const Sequence& sequence) {
    const std::string rule = run->Violation();
    run.reset();
    violations.try_emplace(rule, Describe(rule, sequence));
  };
  const auto visit = [&](std::uint32_t parent, std::uint8_t step, const Sequence& sequence) {
    if (!run->Violation().empty()) return note(sequence);
    if (!seen.insert(run->Hash()).second) return;
    const bool ended = run->Ended();
    if (run->Quiet()) {
      run->CheckSettles();
      if (!run->Violation().empty()) return note(sequence);
    }
    if (ended) return;
    nodes.push_back({parent, step});
    level.push_back(static_cast<std::uint32_t>(nodes.size() - 1));
  };

  for (std::uint8_t start = 0; start < static_cast<std::uint8_t>(Start::Count); ++start) {
    const Sequence sequence{static_cast<Start>(start), {}};
    Replay(run, sequence);
    visit(kRoot, start, sequence);
  }
  Exploration result;
  for (result.depth = 0; result.depth < depth && !level.empty(); ++result.depth) {
    std::vector<std::uint32_t> parents;
    parents.swap(level);
    for (const std::uint32_t parent : parents) {
      Sequence sequence = SequenceOf(nodes, parent);
      sequence.events.push_back(Event::Count);
      for (std::uint8_t event = 0; event < static_cast<std::uint8_t>(Event::Count); ++event) {
        sequence.events.back() = static_cast<Event>(event);
        Replay(run, {sequence.start, {sequence.events.begin(), sequence.events.end() - 1}});
        if (!run->Applies(sequence.events.back())) continue;
        run->Apply(sequence.events.back());
        visit(parent, event, sequence);
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
  for (auto& [rule, described] : violations) result.violations.push_back(std::move(described));
  return result;
}

}  // namespace explorer
