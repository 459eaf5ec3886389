#include "catprep/driver.h"

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <new>
#include <optional>
#include <string>
#include <string_view>

#include "catprep/build_date.h"
#include "catprep/directives.h"
#include "catprep/run_state.h"
#include "platform/file_io.h"

namespace catprep {
namespace {

class Preprocessor {
 public:
  Preprocessor(cattools::Console& console, const ReportSink& sink, Diagnostics& diagnostics,
               SourceReader& reader)
      : console_(console), sink_(sink), run_(sink, diagnostics, reader) {}
  int execute(const cattools::Args& args);

 private:
  enum class Parse { ok, usage, fail };
  bool print_information(const cattools::Args& args);
  Parse parse_command_line(const cattools::Args& args);
  Parse option(const std::string& arg);
  Parse file_name(const std::string& arg);
  Parse define_option(const std::string& arg);
  bool refuse(const Report& report) {
    sink_(report);
    return false;
  }
  bool start();
  bool open_output();
  bool process_lines();
  bool write_text_line(char* line);
  int finish();

  cattools::Console& console_;
  const ReportSink& sink_;
  RunState run_;
  cattools::OutputFile output_;
  std::string input_name_;
  bool have_output_ = false;
  bool have_input_ = false;
};

int Preprocessor::execute(const cattools::Args& args) {
  if (print_information(args)) return 0;
  Parse parsed = parse_command_line(args);
  if (parsed == Parse::usage) sink_({ReportKind::usage});
  if (parsed != Parse::ok) return 1;
  if (!start() || !process_lines()) return 1;
  return finish();
}

// `--help` or `--version` as the only argument; every other command line is parsed as before.
bool Preprocessor::print_information(const cattools::Args& args) {
  if (args.size() != 2) return false;
  if (args[1] == "--help")
    sink_({ReportKind::usage});
  else if (args[1] == "--version")
    sink_({ReportKind::version});
  else
    return false;
  return true;
}

Preprocessor::Parse Preprocessor::parse_command_line(const cattools::Args& args) {
  if (args.size() < 3) return Parse::usage;
  for (size_t k = 1; k < args.size(); ++k) {
    Parse parsed = args[k].starts_with('-') ? option(args[k]) : file_name(args[k]);
    if (parsed != Parse::ok) return parsed;
  }
  if (have_input_) return Parse::ok;
  sink_({.kind = ReportKind::no_input_file, .detail = args[0]});
  return Parse::fail;
}

// Only the letter after the '-' counts: -s, -r or -D.
Preprocessor::Parse Preprocessor::option(const std::string& arg) {
  char letter = arg.size() > 1 ? arg[1] : '\0';
  if (letter == 's')
    run_.remove_blanks = true;
  else if (letter == 'r')
    run_.strip_comments = true;
  else if (letter == 'D')
    return define_option(arg);
  else
    return Parse::usage;
  return Parse::ok;
}

// The first name is the output, the second the input (the first of the include-name chain).
// From the input's name on, diagnostics (the out-of-memory report among them) name the input.
Preprocessor::Parse Preprocessor::file_name(const std::string& arg) {
  if (have_output_ && have_input_) return Parse::usage;
  if (!have_output_) {
    run_.output_name = arg;
    have_output_ = true;
    return Parse::ok;
  }
  input_name_ = arg;
  run_.reader.set_input_name(arg);
  run_.diagnostics.push_chain_name(arg);
  run_.diagnostics.attach(run_.reader);
  have_input_ = true;
  return Parse::ok;
}

// -Dname or -Dname=value; command-line names are not checked against each other.
Preprocessor::Parse Preprocessor::define_option(const std::string& arg) {
  if (run_.macros.full()) {
    sink_({ReportKind::too_many_defines});
    return Parse::fail;
  }
  const char* text = arg.c_str();
  size_t end = skip_identifier(text, 2);
  if (text[end] != '\0' && text[end] != '=') return Parse::usage;
  std::string value = text[end] == '=' ? arg.substr(end + 1) : std::string();
  run_.macros.append(arg.substr(2, end - 2), std::move(value), 0);
  return Parse::ok;
}

// The output is locked against other runs before the template is read, and it is replaced
// only by finish(): every stop before that keeps it as it was.
bool Preprocessor::start() {
  if (!open_output()) return false;
  SourceFiles::Identity input_identity;
  if (!run_.reader.open_input(input_identity).ok()) return refuse({ReportKind::cant_open_input});
  if (run_.is_output(input_identity))
    return refuse(
        {.kind = ReportKind::output_is_template, .file = run_.output_name, .detail = input_name_});
  run_.macros.add_macro("_TAVELLE", "1", run_.diagnostics);
  run_.macros.add_macro("_DATE_",
                        date_macro_value(std::getenv("SOURCE_DATE_EPOCH"), std::time(nullptr)),
                        run_.diagnostics);
  return true;
}

// A device, FIFO, socket or dangling link is refused before anything is read; the identity of
// an existing output is kept, so that a source that is the output can be refused.
bool Preprocessor::open_output() {
  cattools::ReplaceTarget target;
  cattools::IoStatus opened = cattools::ReplaceTarget::open(run_.output_name, target);
  if (!opened.ok()) {
    std::string reason = opened.text();
    return refuse({.kind = ReportKind::output_refused, .file = run_.output_name, .detail = reason});
  }
  run_.output_identity = target.identity();
  if (!cattools::OutputFile::replace(std::move(target), console_.files, output_).ok())
    return refuse({ReportKind::cant_write_output});
  return true;
}

// The main loop; false when the run stopped.
bool Preprocessor::process_lines() {
  char line[kLineSize];
  while (run_.reader.read_line(line)) {
    int depth = run_.reader.include_depth();
    if (depth > 0) remove_comments(line, run_.reader.in_comment());
    size_t first = skip_white(line, 0);
    if (line[first] == '\0') {
      if (depth == 0 && !run_.remove_blanks && !output_.write("\n").ok()) break;
      continue;
    }
    if (line[first] == '#') {
      if (handle_directive(run_, line) == Flow::stop) return false;
      continue;
    }
    if (!run_.live()) continue;
    expand_macros(line, 0, run_.expansion());
    if (depth == 0 && !write_text_line(line)) break;
  }
  if (output_.status().ok()) return true;
  return refuse({ReportKind::cant_write_output});
}

// Writes an expanded line (at most kMaxLine bytes, so its NUL can become the closing line
// feed) in one write, turning its line breaks into line feeds; the line is used up.
bool Preprocessor::write_text_line(char* line) {
  size_t at = run_.remove_blanks ? skip_white(line, 0) : 0;
  if (run_.remove_blanks && line[at] == '\0') return true;
  size_t end = at + std::strlen(line + at);
  for (char* p = line + at; (p = static_cast<char*>(std::memchr(p, kLineBreak, line + end - p)));)
    *p++ = '\n';
  line[end] = '\n';
  return output_.write(std::string_view(line + at, end - at + 1)).ok();
}

int Preprocessor::finish() {
  if (!output_.commit().ok()) {
    sink_({ReportKind::cant_write_output});
    return 1;
  }
  if (run_.conditions.if_level != 0) run_.report(ReportKind::if_without_endif);
  int errors = run_.diagnostics.error_count();
  if (errors == 0) {
    sink_({ReportKind::done});
    return 0;
  }
  sink_({.kind = ReportKind::summary, .count = errors});
  return 1;
}

}  // namespace

// The one place where a failed allocation ends a run. The diagnostics and the include stack
// live here, outside the preprocessor that the failure unwinds, so that the report can still
// name the file and line where it happened; constructing them allocates nothing.
int run(const cattools::Args& args, cattools::Console& console, SourceFiles& files,
        const ReportSink& sink) {
  Diagnostics diagnostics(sink);
  std::optional<SourceReader> reader;
  try {
    reader.emplace(files, diagnostics);
    Preprocessor preprocessor(console, sink, diagnostics, *reader);
    return preprocessor.execute(args);
  } catch (const std::bad_alloc&) {
    diagnostics.report_out_of_memory();
    return 1;
  }
}

// A function of one reference is stored inside the std::function, without an allocation.
int run(const cattools::Args& args, cattools::Console& console, SourceFiles& files) {
  ReportSink print = [&out = console.out](const Report& report) { write_report(out, report); };
  return run(args, console, files, print);
}

int run(const cattools::Args& args, cattools::Console& console) {
  DiskFiles files;
  return run(args, console, files);
}

}  // namespace catprep
