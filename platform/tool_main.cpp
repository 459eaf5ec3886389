#include "platform/tool_main.h"

#include <iostream>

#include "platform/signal_cleanup.h"

namespace cattools {

int tool_main(int argc, char** argv, ToolEntry run) {
  std::ios::sync_with_stdio(false);
  install_signal_cleanup();
  Console console{std::cout, std::cerr};
  int code = run(Args(argv, argv + argc), console);
  std::cout.flush();
  return std::cout.good() ? code : 1;
}

}  // namespace cattools
