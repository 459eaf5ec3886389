#include "catprep/expansion.h"

#include <array>
#include <cstring>
#include <string_view>

#include "catprep/source_reader.h"

namespace catprep {
namespace {

bool is_param_ref(unsigned char b) {
  return b >= kFirstParamRef && b < 0x20;
}

// The length of `value` with each reference to one of its `nparams` parameters replaced by the
// argument; a reference beyond them stands for nothing.
size_t substituted_length(std::string_view value, int nparams, const std::string_view* args) {
  size_t length = 0;
  for (unsigned char b : value) {
    if (!is_param_ref(b))
      ++length;
    else if (b - kFirstParamRef < nparams)
      length += args[b - kFirstParamRef].size();
  }
  return length;
}

// Writes `value` with its arguments to `out`, which has room for substituted_length() bytes.
void substitute(std::string_view value, int nparams, const std::string_view* args, char* out) {
  for (unsigned char b : value) {
    if (!is_param_ref(b)) {
      *out++ = static_cast<char>(b);
    } else if (b - kFirstParamRef < nparams) {
      std::string_view arg = args[b - kFirstParamRef];
      std::memcpy(out, arg.data(), arg.size());
      out += arg.size();
    }
  }
}

constexpr std::array<bool, 256> argument_stop_table() {
  std::array<bool, 256> table{};
  for (unsigned char c : {'\0', '"', ',', ')'}) table[c] = true;
  return table;
}
constexpr std::array<bool, 256> kArgumentStop = argument_stop_table();

// The index of the NUL, or of the ',' or ')' outside quotes, that ends the argument starting at
// `at`; `in_quotes` follows the quotes passed.
size_t argument_end(const char* text, size_t at, bool& in_quotes) {
  for (;; ++at) {
    while (!kArgumentStop[static_cast<unsigned char>(text[at])]) ++at;
    if (text[at] == '"')
      in_quotes = !in_quotes;
    else if (text[at] == '\0' || !in_quotes)
      return at;
  }
}

constexpr std::array<bool, 256> string_stop_table() {
  std::array<bool, 256> table{};
  for (unsigned char c : {'\0', '"', '\\'}) table[c] = true;
  return table;
}
constexpr std::array<bool, 256> kStringStop = string_stop_table();

constexpr std::array<bool, 256> quiet_table() {
  std::array<bool, 256> table{};
  for (int c = 0; c < 256; ++c)
    table[c] = !string_stop_table()[c] && !is_identifier(static_cast<unsigned char>(c));
  for (unsigned char c : {'#', '/'}) table[c] = false;
  return table;
}
constexpr std::array<bool, 256> kQuiet = quiet_table();

// The arguments of one call, pointing into the line: valid until the line is changed.
struct Arguments {
  std::string_view values[kMaxParams];
};

class Expander {
 public:
  Expander(char* line, const ExpansionRules& rules)
      : s_(line), length_(std::strlen(line)), rules_(rules) {}
  void run(size_t start);

 private:
  enum class Call { word, replaced, stop };
  Call try_call(size_t i, size_t& next);
  bool collect(const Macro& macro, size_t& m, Arguments& args);
  void collect_one(size_t& m, bool& in_quotes, std::string_view& value);
  bool fits(size_t i, size_t m, size_t length);
  void splice(size_t i, size_t m, const char* text, size_t length);
  void pass_word();
  size_t pass_quiet(size_t i);
  bool ends_scan(size_t i);
  void note_byte(unsigned char c);
  void report(ReportKind kind) { rules_.diagnostics.report_error(kind); }

  char* s_;
  size_t length_;
  const ExpansionRules& rules_;
  bool in_string_ = false;
  bool escaped_ = false;
  bool seen_nonblank_ = false;
  char expansion_[kLineSize];  // a value with its arguments, built before it is spliced in
};

// After a replacement the scan goes on at the last inserted byte (with nothing inserted, at the
// byte before the call, unless the call stood at `start`): that byte is examined like any other.
void Expander::run(size_t start) {
  size_t i = start;
  for (;;) {
    if (!escaped_) i = pass_quiet(i);
    if (s_[i] == '\0') return;
    unsigned char c = static_cast<unsigned char>(s_[i]);
    if (!escaped_ && !in_string_ && is_identifier(c)) {
      size_t next = 0;
      Call call = try_call(i, next);
      if (call == Call::stop) return;
      if (call == Call::word) {
        pass_word();
        i = next;
        continue;
      }
      if (next == i && i == start) continue;
      i = next - 1;
    }
    if (ends_scan(i)) {
      if (rules_.strip_comments) s_[i] = '\0';
      return;
    }
    note_byte(static_cast<unsigned char>(s_[i]));
    ++i;
  }
}

// A word that is no call is passed over whole: its bytes are identifier bytes, which only mark
// the line as begun (no escape is pending where a word is tried).
void Expander::pass_word() {
  seen_nonblank_ = true;
}

// Passes over the bytes from `i` on whose only effect on the scan is to mark the line as begun,
// and returns the first byte that needs a look of its own; no escape may be pending. In a
// string these are all bytes but the quote, the backslash and the NUL (the opening quote has
// marked the line as begun already); outside one, identifier bytes, '#' and '/' are no such
// bytes either.
size_t Expander::pass_quiet(size_t i) {
  if (in_string_) {
    while (!kStringStop[static_cast<unsigned char>(s_[i])]) ++i;
    return i;
  }
  bool nonblank = false;
  for (; kQuiet[static_cast<unsigned char>(s_[i])]; ++i)
    nonblank |= static_cast<unsigned char>(s_[i]) > 0x20;
  if (nonblank) seen_nonblank_ = true;
  return i;
}

bool Expander::ends_scan(size_t i) {
  if (escaped_ || in_string_) return false;
  return (s_[i] == '#' && !seen_nonblank_) || (s_[i] == '/' && s_[i + 1] == '/');
}

void Expander::note_byte(unsigned char c) {
  if (c > 0x20) seen_nonblank_ = true;
  if (c == '"' && !escaped_) in_string_ = !in_string_;
  escaped_ = c == '\\';
}

// The word at `i` is replaced when it names a macro (with a parameter list right after it when
// the macro takes parameters). `next` is then the index just past the inserted text, otherwise
// the end of the word.
Expander::Call Expander::try_call(size_t i, size_t& next) {
  size_t m = skip_identifier(s_, i);
  next = m;
  size_t j = rules_.table.find_macro(std::string_view(s_ + i, m - i));
  if (j == kNoMatch) return Call::word;
  const Macro& macro = rules_.table[j];
  if (macro.nparams == 0) {
    if (!fits(i, m, macro.value.size())) return Call::stop;
    splice(i, m, macro.value.data(), macro.value.size());
    next = i + macro.value.size();
    return Call::replaced;
  }
  if (s_[m] != '(') return Call::word;
  Arguments args;
  if (!collect(macro, m, args)) return Call::stop;
  size_t length = substituted_length(macro.value, macro.nparams, args.values);
  if (!fits(i, m, length)) return Call::stop;
  substitute(macro.value, macro.nparams, args.values, expansion_);
  splice(i, m, expansion_, length);
  next = i + length;
  return Call::replaced;
}

// Collects the arguments of the list whose '(' is at `m`; leaves `m` past its ')'.
bool Expander::collect(const Macro& macro, size_t& m, Arguments& args) {
  bool in_quotes = false;
  for (int k = 0; k < macro.nparams; ++k) {
    if (k > 0 && s_[m] == ')') {
      report(ReportKind::missing_parameter);
      return false;
    }
    if (k > 0 && s_[m] != ',') {
      report(ReportKind::expected_comma);
      return false;
    }
    collect_one(m, in_quotes, args.values[k]);
  }
  if (s_[m] == ',') {
    report(ReportKind::too_many_parameters);
    return false;
  }
  if (s_[m] != ')') {
    report(ReportKind::expected_parenthesis);
    return false;
  }
  ++m;
  return true;
}

// One argument from the byte after the separator at `m`; leaves `m` on the byte that ends it.
// A quote opened in one argument goes on into the next. Quotes around the whole argument are
// dropped.
void Expander::collect_one(size_t& m, bool& in_quotes, std::string_view& value) {
  const char* c = s_;
  size_t start = skip_white(c, m + 1);
  m = argument_end(c, start, in_quotes);
  if (in_quotes) report(ReportKind::unterminated_string);
  size_t end = m;
  if (c[start] == '"' && end > start && c[end - 1] == '"') {
    ++start;
    end = end - 1 < start ? start : end - 1;
  }
  value = std::string_view(c + start, end - start);
}

// Whether the line stays within kMaxLine bytes when `length` bytes replace those from `i` to `m`.
bool Expander::fits(size_t i, size_t m, size_t length) {
  if (length_ - (m - i) + length <= kMaxLine) return true;
  report(ReportKind::line_too_long);
  return false;
}

// Replaces the bytes from `i` up to `m` by the `length` bytes at `text` (which lie outside the
// line).
void Expander::splice(size_t i, size_t m, const char* text, size_t length) {
  std::memmove(s_ + i + length, s_ + m, length_ - m + 1);
  std::memcpy(s_ + i, text, length);
  length_ = length_ - (m - i) + length;
}

}  // namespace

void expand_macros(char* line, size_t start, const ExpansionRules& rules) {
  Expander(line, rules).run(start);
}

}  // namespace catprep
