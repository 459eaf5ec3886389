#include "catintake/driver.h"

namespace catintake {

int run(const cattools::Args&, cattools::Console& console) {
  console.err << "catintake - not built yet\n";
  return 1;
}

}  // namespace catintake
