#include "catprep/driver.h"

namespace catprep {

int run(const cattools::Args&, cattools::Console& console) {
  console.err << "catprep - not built yet\n";
  return 1;
}

}  // namespace catprep
