#pragma once
// Reports about the template being read: "file:line: message" on the run's console, with a
// header naming the chain of including files whenever that chain has changed since the last
// header. Every report counts as one error.

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace catprep {

// Where reading stands, as a report names it.
class Location {
 public:
  virtual ~Location() = default;
  static constexpr int kPastInput = -1;  // the include depth once the input has been read
  // Level of the file being read: 0 the input, above 0 included files, then kPastInput.
  virtual int include_depth() const = 0;
  virtual const std::string& file_name(int level) const = 0;
  // The line of file `level` that holds the #include of level + 1.
  virtual int include_line(int level) const = 0;
  virtual int line_no() const = 0;
};

class Diagnostics {
 public:
  explicit Diagnostics(std::ostream& out) : out_(out) {}
  Diagnostics(const Diagnostics&) = delete;
  Diagnostics& operator=(const Diagnostics&) = delete;

  void attach(const Location& where) { where_ = &where; }
  void report_error(std::string_view message);
  // The include-name chain: the input's name first, then every file included below it.
  void push_chain_name(const std::string& name) { chain_names_.push_back(name); }
  void pop_chain_name() {
    if (!chain_names_.empty()) chain_names_.pop_back();
  }
  int error_count() const { return error_count_; }

 private:
  std::string build_chain() const;
  void print_header(const Location& where);

  std::ostream& out_;
  const Location* where_ = nullptr;
  std::vector<std::string> chain_names_;
  std::string last_chain_;
  int error_count_ = 0;
};

}  // namespace catprep
