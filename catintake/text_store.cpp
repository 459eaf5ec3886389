#include "catintake/text_store.h"

#include <algorithm>

namespace catintake {

std::string_view TextStore::store(std::string_view text) {
  if (text.empty()) return {};
  if (text.size() > free_size_) {
    size_t size = std::max(kBlockSize, text.size());
    blocks_.reserve(blocks_.size() + 1);
    blocks_.push_back(std::make_unique_for_overwrite<char[]>(size));
    free_ = blocks_.back().get();
    free_size_ = size;
  }
  char* copy = std::copy(text.begin(), text.end(), free_) - text.size();
  free_ += text.size();
  free_size_ -= text.size();
  return {copy, text.size()};
}

}  // namespace catintake
