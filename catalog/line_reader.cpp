#include "catalog/line_reader.h"

namespace catalog {

bool LineReader::next(std::string_view& line) {
  if (rest_.empty()) return false;
  size_t end = rest_.find('\n');
  had_line_end_ = end != std::string_view::npos;
  if (!had_line_end_) end = rest_.size();
  line = rest_.substr(0, end);
  rest_.remove_prefix(had_line_end_ ? end + 1 : end);
  if (had_line_end_ && !line.empty() && line.back() == '\r') line.remove_suffix(1);
  ++line_number_;
  return true;
}

bool skip_utf8_bom(std::string_view& bytes) {
  if (!bytes.starts_with("\xEF\xBB\xBF")) return false;
  bytes.remove_prefix(3);
  return true;
}

// find() runs on memchr, which reads many bytes a step.
size_t count_lines(std::string_view bytes) {
  size_t lines = 1;
  for (size_t at = bytes.find('\n'); at != std::string_view::npos; at = bytes.find('\n', at + 1))
    ++lines;
  return lines;
}

}  // namespace catalog
