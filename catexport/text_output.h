#pragma once
// Where a writer's bytes go: a replaced file, or standard output.

#include <string_view>

namespace catexport {

class TextOutput {
 public:
  virtual ~TextOutput() = default;
  virtual void write(std::string_view bytes) = 0;
};

}  // namespace catexport
