#include <iostream>

#include "catintake/driver.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  cattools::Console console{std::cout, std::cerr};
  int code = catintake::run(cattools::Args(argv, argv + argc), console);
  std::cout.flush();
  return std::cout.good() ? code : 1;
}
