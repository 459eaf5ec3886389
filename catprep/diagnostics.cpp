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

// build_chain() == last_chain_, without building the chain.
bool Diagnostics::chain_was_shown_last() const {
  std::string_view rest = last_chain_;
  for (auto name = chain_names_.rbegin(); name != chain_names_.rend(); ++name) {
    if (!rest.starts_with(',')) return false;
    rest.remove_prefix(1);
    if (!rest.starts_with(*name)) return false;
    rest.remove_prefix(name->size());
  }
  return rest.empty();
}

void Diagnostics::show_header(int depth) {
  sink_({.kind = ReportKind::in_file, .file = where_->file_name(depth)});
  for (int level = depth - 1; level >= 0; --level)
    sink_({.kind = ReportKind::included_from,
           .file = where_->file_name(level),
           .line = where_->include_line(level)});
}

void Diagnostics::report_here(ReportKind kind, std::string_view detail) {
  int depth = where_->include_depth();
  sink_({.kind = kind,
         .file = where_->file_name(depth == Location::kPastInput ? 0 : depth),
         .line = where_->line_no(),
         .detail = detail});
}

void Diagnostics::report_error(ReportKind kind, std::string_view detail) {
  ++error_count_;
  if (where_ == nullptr) {
    sink_({.kind = kind, .detail = detail});
    return;
  }
  int depth = where_->include_depth();
  if (depth > 0 && !chain_was_shown_last()) {
    // Built before the header is shown, so that a failed allocation leaves no header behind
    // that is not remembered.
    std::string chain = build_chain();
    show_header(depth);
    last_chain_ = std::move(chain);
  }
  report_here(kind, detail);
}

void Diagnostics::report_out_of_memory() {
  if (where_ == nullptr) {
    sink_({.kind = ReportKind::out_of_memory});
    return;
  }
  int depth = where_->include_depth();
  if (depth > 0 && !chain_was_shown_last()) show_header(depth);
  report_here(ReportKind::out_of_memory, {});
}

}  // namespace catprep
