#include <iostream>

#include "catweld/merger.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  cattools::Console console{std::cout, std::cerr};
  int code = catweld::run(cattools::Args(argv, argv + argc), console);
  std::cout.flush();
  return std::cout.good() ? code : 1;
}
