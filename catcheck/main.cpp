#include "catcheck/driver.h"
#include "platform/tool_main.h"

int main(int argc, char** argv) {
  return cattools::tool_main(argc, argv, catcheck::run);
}
