#include "catprep/driver.h"

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <new>
#include <string>
#include <string_view>

#include "catprep/build_date.h"
#include "catprep/directives.h"
#include "catprep/run_state.h"
#include "platform/file_io.h"

namespace catprep {
namespace {

constexpr const char* kUsage =
    "catprep - C/C++ source preprocessor for Tavelle catalogs\n\n"
    "Usage:\tcatprep [-Dname[=value]] [-r] [-s] <output> <input>\n\n"
    "\t<output>\tthe filename of the destination file (a catalog file)\n"
    "\t<input>\t\tthe filename of the catalog template file\n"
    "\t-Dname[=value]\tpredefine macro\n"
    "\t-r\t\tstrip comments from the output file\n"
    "\t-s\t\tremove empty lines and leading spaces\n";

constexpr const char* kCantWrite = "can't write to outputfile\n";

class Preprocessor {
 public:
  Preprocessor(cattools::Console& console, SourceFiles& files)
      : console_(console), run_(console.out, files) {}
  int execute(const cattools::Args& args);

 private:
  enum class Parse { ok, usage, fail };
  bool print_information(const cattools::Args& args);
  Parse parse_command_line(const cattools::Args& args);
  Parse option(const std::string& arg);
  Parse file_name(const std::string& arg);
  Parse define_option(const std::string& arg);
  bool start();
  bool process_lines();
  bool write_text_line(char* line);
  int finish();
  void out_of_memory();

  cattools::Console& console_;
  RunState run_;
  cattools::OutputFile output_;
  std::string output_name_;
  bool have_output_ = false;
  bool have_input_ = false;
};

int Preprocessor::execute(const cattools::Args& args) {
  try {
    if (print_information(args)) return 0;
    Parse parsed = parse_command_line(args);
    if (parsed == Parse::usage) console_.out << kUsage;
    if (parsed != Parse::ok) return 1;
    if (!start() || !process_lines()) return 1;
    return finish();
  } catch (const std::bad_alloc&) {
    out_of_memory();
    return 1;
  }
}

// `--help` or `--version` as the only argument; every other command line is parsed as before.
bool Preprocessor::print_information(const cattools::Args& args) {
  if (args.size() != 2) return false;
  if (args[1] == "--help")
    console_.out << kUsage;
  else if (args[1] == "--version")
    console_.out << "catprep " CATTOOLS_VERSION "\n";
  else
    return false;
  return true;
}

void Preprocessor::out_of_memory() {
  if (!have_input_) {
    console_.out << "out of memory\n";
    return;
  }
  try {
    run_.report("out of memory");
  } catch (const std::bad_alloc&) {
    console_.out << "out of memory\n";
  }
}

Preprocessor::Parse Preprocessor::parse_command_line(const cattools::Args& args) {
  if (args.size() < 3) return Parse::usage;
  for (size_t k = 1; k < args.size(); ++k) {
    Parse parsed = args[k].starts_with('-') ? option(args[k]) : file_name(args[k]);
    if (parsed != Parse::ok) return parsed;
  }
  if (have_input_) return Parse::ok;
  console_.out << (args[0] + ": No input file\n");
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
Preprocessor::Parse Preprocessor::file_name(const std::string& arg) {
  if (have_output_ && have_input_) return Parse::usage;
  if (!have_output_) {
    output_name_ = arg;
    have_output_ = true;
    return Parse::ok;
  }
  run_.reader.set_input_name(arg);
  run_.diagnostics.push_chain_name(arg);
  have_input_ = true;
  return Parse::ok;
}

// -Dname or -Dname=value; command-line names are not checked against each other.
Preprocessor::Parse Preprocessor::define_option(const std::string& arg) {
  if (run_.macros.full()) {
    console_.out << "too many defines\n";
    return Parse::fail;
  }
  const char* text = arg.c_str();
  size_t end = skip_identifier(text, 2);
  if (text[end] != '\0' && text[end] != '=') return Parse::usage;
  std::string value = text[end] == '=' ? arg.substr(end + 1) : std::string();
  run_.macros.append(arg.substr(2, end - 2), std::move(value), 0);
  return Parse::ok;
}

bool Preprocessor::start() {
  if (!cattools::OutputFile::replace(output_name_, console_.files, output_).ok()) {
    console_.out << kCantWrite;
    return false;
  }
  if (!run_.reader.open_input().ok()) {
    console_.out << "can't open inputfile\n";
    return false;
  }
  run_.macros.add_macro("_TAVELLE", "1", run_.diagnostics);
  run_.macros.add_macro("_DATE_",
                        date_macro_value(std::getenv("SOURCE_DATE_EPOCH"), std::time(nullptr)),
                        run_.diagnostics);
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
  console_.out << kCantWrite;
  return false;
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
    console_.out << kCantWrite;
    return 1;
  }
  if (run_.conditions.if_level != 0) run_.report("if without endif");
  int errors = run_.diagnostics.error_count();
  if (errors == 0) {
    console_.out << "done, no errors\n";
    return 0;
  }
  console_.out << "summary: " << errors << " error(s)\n";
  return 1;
}

}  // namespace

int run(const cattools::Args& args, cattools::Console& console, SourceFiles& files) {
  try {
    Preprocessor session(console, files);
    return session.execute(args);
  } catch (const std::bad_alloc&) {
    console.out << "out of memory\n";
    return 1;
  }
}

int run(const cattools::Args& args, cattools::Console& console) {
  DiskFiles files;
  return run(args, console, files);
}

}  // namespace catprep
