#include "catintake/driver.h"

#include <cerrno>
#include <new>
#include <optional>
#include <string>
#include <string_view>

#include "catalog/catalog_reader.h"
#include "catalog/file_kind.h"
#include "catalog/text_routines.h"
#include "catintake/catalog_lines.h"
#include "catintake/catalog_update.h"
#include "catintake/po_reader.h"
#include "catintake/reports.h"
#include "catintake/translation_table.h"
#include "catintake/xliff_reader.h"
#include "platform/file_io.h"

namespace catintake {
namespace {

constexpr std::string_view kVersionLine = "catintake " CATTOOLS_VERSION "\n";

// Where a run stands, kept outside the run's own objects so that the report of a failed
// allocation can say so after they are gone.
struct Progress {
  enum class Stage { other, reading_input, updating_catalog };
  Stage stage = Stage::other;
  int line = 0;  // the line of the input being read
};

// What a command line of exactly "--help" or "--version" prints on standard output; nothing
// for every other command line, which is an import.
std::optional<std::string_view> information_request(const cattools::Args& args) {
  if (args.size() != 2) return std::nullopt;
  if (args[1] == "--help") return kUsage;
  if (args[1] == "--version") return kVersionLine;
  return std::nullopt;
}

bool is_xliff_name(std::string_view argument) {
  size_t dot = argument.rfind('.');
  if (dot == std::string_view::npos) return false;
  std::string_view extension = argument.substr(dot);
  return catalog::equals_ignoring_case(extension, ".xliff") ||
         catalog::equals_ignoring_case(extension, ".xlf");
}

// Whether the output argument carries a key-language prefix: its first '=' at offset 2 or 5.
bool has_key_prefix(std::string_view argument) {
  size_t equals = argument.find('=');
  return equals == 2 || equals == 5;
}

class Importer {
 public:
  Importer(const cattools::Args& args, cattools::Console& console, Progress& progress)
      : args_(args),
        console_(console),
        progress_(progress),
        report_([this](const Report& r) { print(r); }) {}

  int run();

 private:
  void print(const Report& report) {
    (is_progress(report.kind) ? console_.out : console_.err) << report_text(report);
  }
  int fail(const Report& report) {
    report_(report);
    return 1;
  }
  bool refuse(const Report& report) {
    report_(report);
    return false;
  }
  bool read_options();
  bool codes_are_valid() const;
  int out_of_memory();
  void split_output_argument();
  bool open_catalog();
  bool is_catalog_text(std::string_view bytes);
  bool import(size_t position);
  // The language prefix (none: empty) and the file name of an input argument; false, reported,
  // when a prefix has no file name after it.
  bool split_input_argument(const std::string& argument, LanguageCode& language, std::string& name);
  // Reads one input file into the table; an XLIFF file may settle the key language.
  bool read_input(std::string_view name, std::string_view bytes, bool xliff, size_t position,
                  LanguageCode& language);
  bool update_catalog();
  bool write_catalog(const CatalogLines& lines);

  const cattools::Args& args_;
  cattools::Console& console_;
  Progress& progress_;
  ReportSink report_;
  TranslationTable table_;
  size_t first_ = 1;  // the catalog argument, after the options
  bool skip_fuzzy_ = false;
  LanguageCode key_{"en"};
  bool key_given_ = false;
  CatalogEncoding encoding_ = CatalogEncoding::utf8;
  std::string output_;
  // The catalog, locked and read once before any input, written back at the end.
  cattools::ReplaceTarget target_;
  std::string catalog_bytes_;
  cattools::IoStatus catalog_read_{};
};

int Importer::run() {
  if (auto information = information_request(args_)) {
    console_.out << *information;
    return console_.out.bad() ? out_of_memory() : 0;
  }
  if (!read_options()) return 1;
  if (args_.size() < first_ + 2) return fail({ReportKind::usage});
  if (!codes_are_valid()) return fail({ReportKind::no_language_code});
  split_output_argument();
  if (!open_catalog()) return 1;
  for (size_t position = first_ + 1; position < args_.size(); ++position)
    if (!import(position)) return 1;
  // A stream drops what it cannot store (out of memory) and only marks itself bad: a report
  // that did not reach the user fails the run before anything is written.
  if (console_.out.bad() || console_.err.bad()) return out_of_memory();
  // Worded before the catalog is written, so that nothing but the stream can fail after it.
  std::string done = report_text(
      {.kind = catalog_read_.ok() ? ReportKind::merged_catalog : ReportKind::created_catalog,
       .file = output_});
  if (!update_catalog()) return 1;
  console_.out << done;
  return console_.out.bad() ? out_of_memory() : 0;
}

int Importer::out_of_memory() {
  write_memory_report(console_.err, {ReportKind::insufficient_memory});
  return 1;
}

// Options stand before the catalog; any other argument that begins with '-' is a mistake, such
// as "--help" beside file names, and no file of that name is created or read.
bool Importer::read_options() {
  for (; first_ < args_.size() && args_[first_] == "--skip-fuzzy"; ++first_) skip_fuzzy_ = true;
  for (size_t position = first_; position < args_.size(); ++position) {
    const std::string& argument = args_[position];
    if (!argument.starts_with('-')) continue;
    if (argument != "--help" && argument != "--version" && argument != "--skip-fuzzy")
      report_({.kind = ReportKind::unknown_option, .detail = argument});
    return refuse({ReportKind::usage});
  }
  return true;
}

// A code on the command line is two letters or digits, or five with a hyphen third.
bool Importer::codes_are_valid() const {
  if (has_key_prefix(args_[first_]) && !is_valid_code(copy_language_code(args_[first_]).view()))
    return false;
  for (size_t position = first_ + 1; position < args_.size(); ++position) {
    const std::string& argument = args_[position];
    if (argument.find('=') != std::string::npos &&
        !is_valid_code(copy_language_code(argument).view()))
      return false;
  }
  return true;
}

void Importer::split_output_argument() {
  const std::string& argument = args_[first_];
  key_given_ = has_key_prefix(argument);
  if (key_given_) key_ = copy_language_code(argument);
  output_ = key_given_ ? argument.substr(argument.find('=') + 1) : argument;
}

// Locks the catalog against other runs until it is replaced, and reads it: without a key
// language on the command line, the catalog's first language line gives it. A translator's
// file given as the catalog is refused before anything is written.
bool Importer::open_catalog() {
  if (catalog::has_translation_file_name(output_))
    return refuse({.kind = ReportKind::catalog_named_like_input, .file = output_});
  cattools::IoStatus status = cattools::ReplaceTarget::open(output_, target_);
  if (!status.ok()) {
    std::string reason = status.text();
    return refuse({.kind = ReportKind::catalog_refused, .file = output_, .detail = reason});
  }
  catalog_read_ = cattools::read_file(output_, catalog_bytes_);
  if (!catalog_read_.ok()) return true;
  if (!is_catalog_text(catalog_bytes_)) return false;
  // A catalog is UTF-8 when every line is; else its bytes are Latin-1.
  if (!catalog::is_valid_utf8(catalog_bytes_)) encoding_ = CatalogEncoding::latin1;
  if (key_given_) return true;
  std::string_view code = catalog::find_key_language(catalog_bytes_, kCatalogRules);
  if (!code.empty()) key_ = LanguageCode(code);
  return true;
}

// A translator's file or a UTF-16 text given as the catalog is refused; NUL bytes are copied
// like any other.
bool Importer::is_catalog_text(std::string_view bytes) {
  switch (catalog::text_kind(bytes)) {
    case catalog::TextKind::po:
      return refuse({.kind = ReportKind::catalog_is_po, .file = output_});
    case catalog::TextKind::xml:
      return refuse({.kind = ReportKind::catalog_is_xml, .file = output_});
    case catalog::TextKind::utf16:
      return refuse({.kind = ReportKind::catalog_is_utf16, .file = output_});
    default:
      return true;
  }
}

bool Importer::import(size_t position) {
  const std::string& argument = args_[position];
  LanguageCode language;
  std::string name;
  if (!split_input_argument(argument, language, name)) return false;
  std::string bytes;
  cattools::IoStatus status = cattools::read_file(name, bytes);
  if (!status.ok()) {
    std::string reason = status.text();
    return refuse({.kind = ReportKind::file_unreadable, .file = name, .detail = reason});
  }
  if (!read_input(name, bytes, is_xliff_name(argument), position, language)) return false;
  report_({.kind = ReportKind::imported_language, .file = name, .detail = language.view()});
  return true;
}

bool Importer::split_input_argument(const std::string& argument, LanguageCode& language,
                                    std::string& name) {
  size_t equals = argument.find('=');
  name = argument.substr(equals == std::string::npos ? 0 : equals + 1);
  if (equals == std::string::npos) return true;
  language = copy_language_code(argument);
  if (!name.empty()) return true;
  return refuse({ReportKind::missing_filename});
}

bool Importer::read_input(std::string_view name, std::string_view bytes, bool xliff,
                          size_t position, LanguageCode& language) {
  progress_ = {Progress::Stage::reading_input, 0};
  ReadTarget target{table_, report_, progress_.line, name, encoding_, skip_fuzzy_};
  bool read;
  if (!xliff) {
    read = read_po_file(bytes, position == first_ + 1, key_, language, target);
  } else {
    LanguageCode previous = key_;
    if (!key_given_) key_ = LanguageCode();
    read = read_xliff_file(bytes, key_, previous, language, target);
  }
  progress_.stage = Progress::Stage::other;
  return read;
}

bool Importer::update_catalog() {
  int error = catalog_read_.error;
  if (!catalog_read_.ok() && error != ENOENT && error != ENOTDIR && error != EISDIR) {
    std::string reason = catalog_read_.text();
    return refuse({.kind = ReportKind::file_unreadable, .file = output_, .detail = reason});
  }
  table_.end_lookups();
  progress_.stage = Progress::Stage::updating_catalog;
  CatalogLines lines(key_);
  lines.load(catalog_bytes_);
  place_messages(table_, key_, catalog_read_.ok(), lines, report_);
  bool written = write_catalog(lines);
  progress_.stage = Progress::Stage::other;
  return written;
}

bool Importer::write_catalog(const CatalogLines& lines) {
  cattools::OutputFile file;
  cattools::IoStatus status =
      cattools::OutputFile::replace(std::move(target_), console_.files, file);
  if (status.ok()) status = lines.write(file);
  if (status.ok()) status = file.commit();
  if (status.ok()) return true;
  std::string reason = status.text();
  return refuse({.kind = ReportKind::output_failed, .file = output_, .detail = reason});
}

}  // namespace

// The one place where a failed allocation ends a run; the report says where it happened.
int run(const cattools::Args& args, cattools::Console& console) {
  Progress progress;
  try {
    return Importer(args, console, progress).run();
  } catch (const std::bad_alloc&) {
    bool reading = progress.stage == Progress::Stage::reading_input;
    bool updating = progress.stage == Progress::Stage::updating_catalog;
    write_memory_report(console.err,
                        {updating ? ReportKind::catalog_memory : ReportKind::insufficient_memory,
                         reading ? progress.line : 0});
    return 1;
  }
}

}  // namespace catintake
