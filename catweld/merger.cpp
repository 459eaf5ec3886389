#include "catweld/merger.h"

namespace catweld {

int run(const cattools::Args&, cattools::Console& console) {
  console.err << "catweld - not built yet\n";
  return 1;
}

}  // namespace catweld
