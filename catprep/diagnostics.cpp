#include "catprep/diagnostics.h"

namespace catprep {

// Innermost name first, each preceded by a comma: ",c.inc,b.inc,a.tpl".
std::string Diagnostics::build_chain() const {
  std::string chain;
  for (auto name = chain_names_.rbegin(); name != chain_names_.rend(); ++name) {
    chain += ',';
    chain += *name;
  }
  return chain;
}

void Diagnostics::print_header(const Location& where) {
  int depth = where.include_depth();
  out_ << "In file \"" << where.file_name(depth) << "\",";
  for (int level = depth - 1; level >= 0; --level)
    out_ << "Included from " << where.file_name(level) << ':' << where.include_line(level) << '\n';
  last_chain_ = build_chain();
}

void Diagnostics::report_error(std::string_view message) {
  ++error_count_;
  if (where_ == nullptr) {
    out_ << message << '\n';
    return;
  }
  int depth = where_->include_depth();
  if (depth > 0 && build_chain() != last_chain_) print_header(*where_);
  out_ << where_->file_name(depth == Location::kPastInput ? 0 : depth) << ':' << where_->line_no() << ": " << message
       << '\n';
}

}  // namespace catprep
