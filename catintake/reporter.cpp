#include "catintake/reporter.h"

namespace catintake {

void Reporter::report(std::string_view message) {
  err_ << "catintake - " << message << '\n';
}

void Reporter::report_at(std::string_view message, int line) {
  err_ << "catintake - " << message << ", line " << line << '\n';
}

}  // namespace catintake
