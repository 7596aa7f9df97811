// Prints the character (0 Mubo, 1 Tesk, 2 Plim) that the program's Quarn chases when it starts
// in the given calendar second: bench/cpu.sh gives its floor the same quarry, so that both walk
// the same way.
#include <cstdio>
#include <cstdlib>

#include "app/core/chase.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s SECONDS\n", argv[0]);
    return 2;
  }
  std::printf("%d\n", static_cast<int>(ChooseChaseTarget(std::strtoull(argv[1], nullptr, 10))));
  return 0;
}
