#pragma once
// What catcheck finds, as values: each finding names its file and line, its kind (a stable
// identifier that scripts may rely on) and whether it is an error or a warning.

#include <string>
#include <string_view>
#include <vector>

namespace catcheck {

enum class Severity { error, warning };

enum class FindingKind {
  key_collision,        // two key texts, one message key
  ambiguous_hash_line,  // a sub-catalog hash line whose key names several messages
  ambiguous_key_line,   // a sub-catalog key line: several messages share its key, none its text
  unknown_message,      // a sub-catalog key or hash line that selects no message
  duplicate_key_line,   // the key text of an earlier message: this one is never reached
  format_mismatch,      // the printf directives of a translation differ from the key text's
  short_line,           // fewer than three bytes: the tools drop it
  no_colon,             // no ':' or '[' after the code: the tools drop it
  invalid_code,         // a code of other bytes than letters and digits
  line_before_key,      // a translation before the first key line: belongs to no message
  key_language_translation,  // a line in the key language that is no key line
  key_language_differs,      // the merge and the import take different key languages
  hash_line_comment,         // a comment that the merge refuses as a sub-catalog hash line
  second_language,           // a sub-catalog line in another language than its first
  mixed_encoding,            // UTF-8 and other lines in one file: all are read as Latin-1
  beyond_latin1,             // a sub-catalog line that a Latin-1 catalog cannot hold
  plural_without_general,    // a [1] line but no line without index in a plural message
  plural_without_one,        // a line without index but no [1] line in a plural message
  blank_shape,         // blanks at the start or end where the key text has none, or the reverse
  newline_shape,       // \n at the start or end where the key text has none, or the reverse
  trailing_backslash,  // a text that ends in a lone backslash
  empty_translation,   // a translation line without text
};

std::string_view kind_id(FindingKind kind);
Severity severity_of(FindingKind kind);
inline std::string_view severity_name(Severity severity) {
  return severity == Severity::error ? "error" : "warning";
}

struct Finding {
  FindingKind kind;
  size_t file = 0;  // index into the run's files, the catalog first
  int line = 0;
  std::string message;
  int related_line = 0;            // in the same file; 0 for none
  std::string_view language = {};  // of a translation line; empty for the message as a whole
};

// Where the checks put their findings, in any order; `sorted` gives them by file and line.
class Findings {
 public:
  void add(Finding finding) { findings_.push_back(std::move(finding)); }
  const std::vector<Finding>& all() const { return findings_; }
  void sort();
  template <typename Keep>
  void keep_if(Keep&& keep) {
    std::erase_if(findings_, [&](const Finding& finding) { return !keep(finding); });
  }
  size_t errors() const;

 private:
  std::vector<Finding> findings_;
};

}  // namespace catcheck
