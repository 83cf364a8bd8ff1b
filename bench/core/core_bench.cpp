// The portable core's cost per tick, the platform replaced by fixed answers.
#include <benchmark/benchmark.h>

#include "core/quiet_world.h"

namespace {

// The usual second: the same track plays, nothing is written.
void SteadyTick(benchmark::State& state) {
  quiet_world::World world;
  world.Play(1);
  world.sync.tmrTimer_Timer();
  for (auto _ : state) {
    world.sync.tmrTimer_Timer();
    benchmark::DoNotOptimize(world.form.report.data());
  }
}
BENCHMARK(SteadyTick);

// A new track every tick: the markup is made and written each time.
void ChangingTick(benchmark::State& state) {
  quiet_world::World world;
  int track = 0;
  for (auto _ : state) {
    world.Play(++track);
    world.sync.tmrTimer_Timer();
    benchmark::DoNotOptimize(world.form.report.data());
  }
}
BENCHMARK(ChangingTick);

}  // namespace

BENCHMARK_MAIN();
