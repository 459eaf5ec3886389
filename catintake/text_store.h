#pragma once
// Append-only storage for many small texts: each stored text keeps its address for the
// store's lifetime, and texts share large blocks instead of owning one allocation each.

#include <memory>
#include <string_view>
#include <vector>

namespace catintake {

class TextStore {
 public:
  // A copy of `text` that lives as long as the store.
  std::string_view store(std::string_view text);

 private:
  static constexpr size_t kBlockSize = 1 << 20;
  std::vector<std::unique_ptr<char[]>> blocks_;
  char* free_ = nullptr;  // unused rest of the last block
  size_t free_size_ = 0;
};

}  // namespace catintake
