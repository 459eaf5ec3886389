#include "catprep/definitions.h"

#include <cstring>
#include <limits>
#include <memory>
#include <string_view>

#include "catprep/directives.h"

namespace catprep {
namespace {

int parameter_at(const char* line, size_t at, const MacroHead& head) {
  for (int k = 0; k <= head.last; ++k)
    if (match_word(line, at, head.param_names[k]) != kNoMatch) return k;
  return -1;
}

// Appends to a body while it holds fewer than `limit` bytes, and remembers a refused byte.
class BodyWriter {
 public:
  BodyWriter(std::string& body, size_t limit) : body_(body), limit_(limit) {}
  void put(char c) {
    if (body_.size() < limit_)
      body_ += c;
    else
      kept_ = false;
  }
  bool kept() const { return kept_; }

 private:
  std::string& body_;
  size_t limit_;
  bool kept_ = true;
};

// Writes the run of identifier bytes at `at`, as a parameter reference when the whole run is a
// parameter's name; returns the end of the run.
size_t encode_name(const char* line, size_t at, const MacroHead& head, BodyWriter& writer) {
  size_t end = skip_identifier(line, at);
  int k = parameter_at(line, at, head);
  if (k >= 0)
    writer.put(static_cast<char>(kFirstParamRef + k));
  else
    for (size_t p = at; p < end; ++p) writer.put(line[p]);
  return end;
}

// The text may begin inside a name (after a head that lacks a comma); the rest of that name is
// copied as it stands, since a parameter is never found at the end of a longer name.
size_t copy_rest_of_name(const char* line, size_t at, BodyWriter& writer) {
  if (at == 0 || is_delimiter(static_cast<unsigned char>(line[at - 1]))) return at;
  size_t end = skip_identifier(line, at);
  for (size_t p = at; p < end; ++p) writer.put(line[p]);
  return end;
}

// True when `line` is a directive line; `after` is then the end of "enddef" if it is one.
bool is_directive_line(const char* line, size_t& after) {
  size_t p = skip_white(line, 0);
  if (line[p] != '#') return false;
  after = match_word(line, skip_white(line, p + 1), "enddef");
  return true;
}

// Reads the body of a multi-line definition and stores it.
class BodyCollector {
 public:
  BodyCollector(RunState& run, const MacroHead& head) : run_(run), head_(head) {
    body_.reserve(kMaxBody + 1);
  }
  void collect();
  std::string take() { return std::move(body_); }

 private:
  void add_line(char* line);
  void end_body_line();

  RunState& run_;
  const MacroHead& head_;
  std::string body_;
  bool dropped_ = false;
  bool break_refused_ = false;
};

void BodyCollector::collect() {
  auto line = std::make_unique<char[]>(kLineSize);
  bool ended = false;
  while (!ended && run_.reader.read_line(line.get())) {
    size_t after = kNoMatch;
    if (!is_directive_line(line.get(), after)) {
      add_line(line.get());
    } else if (after != kNoMatch) {
      end_of_directive(run_, line.get(), after);
      ended = true;
    } else {
      run_.report(ReportKind::directive_in_definition);
      end_body_line();
    }
  }
  if (!ended) run_.report(ReportKind::begindef_without_enddef);
  if (!body_.empty() && body_.back() == kLineBreak) body_.pop_back();
  if (dropped_) run_.report(ReportKind::macro_too_long);
}

void BodyCollector::add_line(char* line) {
  expand_macros(line, 0, run_.expansion());
  if (!encode_body_line(line, 0, head_, body_, kMaxBody)) dropped_ = true;
  end_body_line();
}

// A refused line break is a lost byte only when another body line follows it.
void BodyCollector::end_body_line() {
  if (break_refused_) dropped_ = true;
  if (body_.size() < kMaxBody)
    body_ += kLineBreak;
  else
    break_refused_ = true;
}

}  // namespace

bool encode_body_line(const char* line, size_t at, const MacroHead& head, std::string& body,
                      size_t limit) {
  BodyWriter writer(body, limit);
  size_t p = copy_rest_of_name(line, at, writer);
  while (line[p] != '\0') {
    unsigned char c = static_cast<unsigned char>(line[p]);
    if (is_identifier(c)) {
      p = encode_name(line, p, head, writer);
      continue;
    }
    if (c == '\t')
      writer.put(' ');
    else if (c >= 0x20 || c == kLineBreak)
      writer.put(static_cast<char>(c));
    ++p;
  }
  return writer.kept();
}

void define_macro(RunState& run, char* line, size_t at, bool multi_line) {
  at = skip_white(line, at);
  expand_macros(line, at, run.expansion());
  if (line[at] == '\0') {
    run.report(ReportKind::missing_argument);
    return;
  }
  MacroHead head;
  if (!parse_macro_head(line, at, run.macros, run.diagnostics, head)) return;
  std::string body;
  if (multi_line) {
    end_of_directive(run, line, at);
    BodyCollector collector(run, head);
    collector.collect();
    body = collector.take();
  } else {
    encode_body_line(line, at, head, body, std::numeric_limits<size_t>::max());
  }
  run.macros.append(std::string(head.name), std::move(body), head.last + 1);
}

void undefine_macro(RunState& run, char* line, size_t at) {
  at = skip_white(line, at);
  if (line[at] == '\0') {
    run.report(ReportKind::missing_argument);
    return;
  }
  size_t end = skip_identifier(line, at);
  size_t rest = skip_white(line, end);
  if (line[rest] != '\0' && line[rest] != ';') {
    run.report(ReportKind::expected_end_of_directive);
    return;
  }
  size_t index = run.macros.find_macro(std::string_view(line + at, end - at));
  if (index != kNoMatch) run.macros.remove(index);
}

void skip_macro_body(RunState& run, char* line) {
  while (run.reader.read_line(line)) {
    size_t after = kNoMatch;
    if (!is_directive_line(line, after)) continue;
    if (after != kNoMatch) {
      end_of_directive(run, line, after);
      return;
    }
    run.report(ReportKind::directive_in_definition);
  }
  run.report(ReportKind::begindef_without_enddef);
}

}  // namespace catprep
