#include "catprep/expansion.h"

#include <cstring>
#include <string_view>

#include "catprep/line_reader.h"

namespace catprep {
namespace {

bool is_param_ref(unsigned char b) {
  return b >= FIRST_PARAM_REF && b < 0x20;
}

// The arguments of one call, pointing into a copy of the line.
struct Arguments {
  char copy[LINE_SIZE];
  std::string_view values[MAX_PARAMS];
};

class Expander {
 public:
  Expander(char* line, const ExpansionRules& rules)
      : s_(line), length_(std::strlen(line)), rules_(rules) {}
  void run(size_t start);

 private:
  enum class Call { none, replaced, stop };
  Call try_call(size_t i, size_t& inserted);
  bool collect(const Macro& macro, size_t& m, Arguments& args);
  bool collect_one(Arguments& args, size_t& m, bool& in_quotes, std::string_view& value);
  size_t inserted_length(const Macro& macro, const Arguments* args) const;
  void insert(const Macro& macro, const Arguments* args, size_t i, size_t m, size_t length);
  bool ends_scan(size_t i);
  void note_byte(unsigned char c);
  void report(const char* message) { rules_.diagnostics.report_error(message); }

  char* s_;
  size_t length_;
  const ExpansionRules& rules_;
  bool in_word_ = false;
  bool in_string_ = false;
  bool escaped_ = false;
  bool seen_nonblank_ = false;
};

void Expander::run(size_t start) {
  size_t i = start;
  while (s_[i] != '\0') {
    unsigned char c = static_cast<unsigned char>(s_[i]);
    if (in_word_) {
      if (is_delimiter(c)) in_word_ = false;
    } else if (!escaped_ && !in_string_ && is_identifier(c)) {
      size_t inserted = 0;
      Call call = try_call(i, inserted);
      if (call == Call::stop) return;
      if (call == Call::replaced) {
        if (inserted == 0 && i == start) continue;
        i = i + inserted - 1;
      }
    }
    if (ends_scan(i)) {
      if (rules_.strip_comments) s_[i] = '\0';
      return;
    }
    note_byte(static_cast<unsigned char>(s_[i]));
    ++i;
  }
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

Expander::Call Expander::try_call(size_t i, size_t& inserted) {
  size_t m = skip_identifier(s_, i);
  size_t j = rules_.table.find_macro(std::string_view(s_ + i, m - i));
  if (j == NO_MATCH || (rules_.table[j].nparams > 0 && s_[m] != '(')) {
    in_word_ = true;
    return Call::none;
  }
  const Macro& macro = rules_.table[j];
  Arguments args;
  if (macro.nparams > 0 && !collect(macro, m, args)) return Call::stop;
  const Arguments* used = macro.nparams > 0 ? &args : nullptr;
  inserted = inserted_length(macro, used);
  if (length_ - (m - i) + inserted > MAX_LINE) {
    report("line too long");
    return Call::stop;
  }
  insert(macro, used, i, m, inserted);
  in_word_ = false;
  return Call::replaced;
}

// Collects the arguments of the list whose '(' is at `m`; leaves `m` past its ')'.
bool Expander::collect(const Macro& macro, size_t& m, Arguments& args) {
  std::memcpy(args.copy, s_, length_ + 1);
  args.copy[m] = ',';
  bool in_quotes = false;
  for (int k = 0; k < macro.nparams; ++k)
    if (!collect_one(args, m, in_quotes, args.values[k])) return false;
  if (args.copy[m] == ',') {
    report("too many parameters");
    return false;
  }
  if (args.copy[m] != ')') {
    report("expected ')'");
    return false;
  }
  ++m;
  return true;
}

bool Expander::collect_one(Arguments& args, size_t& m, bool& in_quotes, std::string_view& value) {
  char* c = args.copy;
  if (c[m] == ')') {
    report("missing parameter");
    return false;
  }
  if (c[m] != ',') {
    report("expected ','");
    return false;
  }
  size_t start = skip_white(c, m + 1);
  for (m = start; c[m] != '\0' && (in_quotes || (c[m] != ',' && c[m] != ')')); ++m)
    if (c[m] == '"') in_quotes = !in_quotes;
  if (in_quotes) report("unterminated string");
  size_t end = m;
  if (c[start] == '"' && end > start && c[end - 1] == '"') {
    ++start;
    end = end - 1 < start ? start : end - 1;
  }
  value = std::string_view(c + start, end - start);
  return true;
}

size_t Expander::inserted_length(const Macro& macro, const Arguments* args) const {
  if (args == nullptr) return macro.value.size();
  size_t length = 0;
  for (unsigned char b : macro.value) {
    if (!is_param_ref(b))
      ++length;
    else if (b - FIRST_PARAM_REF < macro.nparams)
      length += args->values[b - FIRST_PARAM_REF].size();
  }
  return length;
}

// Replaces the call from `i` up to `m` by the `length` bytes of the macro's value.
void Expander::insert(const Macro& macro, const Arguments* args, size_t i, size_t m,
                      size_t length) {
  std::memmove(s_ + i + length, s_ + m, length_ - m + 1);
  length_ = length_ - (m - i) + length;
  char* out = s_ + i;
  if (args == nullptr) {
    std::memcpy(out, macro.value.data(), macro.value.size());
    return;
  }
  for (unsigned char b : macro.value) {
    if (!is_param_ref(b)) {
      *out++ = static_cast<char>(b);
    } else if (b - FIRST_PARAM_REF < macro.nparams) {
      std::string_view arg = args->values[b - FIRST_PARAM_REF];
      std::memcpy(out, arg.data(), arg.size());
      out += arg.size();
    }
  }
}

}  // namespace

void expand_macros(char* line, size_t start, const ExpansionRules& rules) {
  Expander(line, rules).run(start);
}

}  // namespace catprep
