// Runs a given number of steady ticks of the portable core and nothing else, for an
// instruction count: two runs of different lengths give the cost of one tick.
#include <cstdlib>

#include "core/quiet_world.h"

int main(int argc, char** argv) {
  const long ticks = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 1000;
  quiet_world::World world;
  world.Play(1);
  for (long i = 0; i < ticks; ++i) world.sync.tmrTimer_Timer();
  return world.form.report.size() == 25 ? 0 : 1;
}
