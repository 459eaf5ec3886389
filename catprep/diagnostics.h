#pragma once
// Diagnostics about the sources being read: reports that name the file and line where reading
// stands, preceded by a header naming the chain of including files whenever that chain has
// changed since the last header. Every diagnostic counts as one error.

#include <string>
#include <string_view>
#include <vector>

#include "catprep/reports.h"

namespace catprep {

// Where reading stands, as a report names it.
class Location {
 public:
  static constexpr int kPastInput = -1;  // the include depth once the input has been read
  virtual ~Location() = default;
  // Level of the file being read: 0 the input, above 0 included files, then kPastInput.
  virtual int include_depth() const = 0;
  virtual const std::string& file_name(int level) const = 0;
  // The line of file `level` that holds the #include of level + 1.
  virtual int include_line(int level) const = 0;
  virtual int line_no() const = 0;
};

class Diagnostics {
 public:
  // The sink must outlive the object. Constructing one allocates nothing.
  explicit Diagnostics(const ReportSink& sink) : sink_(sink) {}
  explicit Diagnostics(ReportSink&&) = delete;
  Diagnostics(const Diagnostics&) = delete;
  Diagnostics& operator=(const Diagnostics&) = delete;

  // Until a location is attached, diagnostics name no place.
  void attach(const Location& where) { where_ = &where; }
  void report_error(ReportKind kind, std::string_view detail = {});
  // The out-of-memory report, as a diagnostic once a location is attached. It allocates
  // nothing, so that it can follow a failed allocation anywhere in the run.
  void report_out_of_memory();
  // The include-name chain: the input's name first, then every file included below it.
  void push_chain_name(const std::string& name) { chain_names_.push_back(name); }
  void pop_chain_name() {
    if (!chain_names_.empty()) chain_names_.pop_back();
  }
  int error_count() const { return error_count_; }

 private:
  std::string build_chain() const;
  bool chain_was_shown_last() const;
  void show_header(int depth);
  void report_here(ReportKind kind, std::string_view detail);

  const ReportSink& sink_;
  const Location* where_ = nullptr;
  std::vector<std::string> chain_names_;
  std::string last_chain_;  // build_chain() when the last header was shown
  int error_count_ = 0;
};

}  // namespace catprep
