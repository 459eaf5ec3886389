#include "catintake/driver.h"

#include <cerrno>
#include <new>
#include <optional>
#include <string>
#include <string_view>

#include "catalog/line_reader.h"
#include "catalog/text_routines.h"
#include "catintake/catalog_lines.h"
#include "catintake/catalog_update.h"
#include "catintake/language.h"
#include "catintake/po_reader.h"
#include "catintake/reporter.h"
#include "catintake/translation_table.h"
#include "catintake/xliff_reader.h"
#include "platform/file_io.h"

namespace catintake {
namespace {

constexpr std::string_view USAGE =
    "catintake - convert \".PO\" or XLIFF files to catalogs for the Tavelle library\n"
    "\n"
    "Usage:\tcatintake [lang0=]<output> <lang1>=<input1> [lang2=input2 [...]]\n"
    "\t<output>   the filename of the destination file\n"
    "\t<input1>   the filename of the first source \".PO\" or XLIFF file\n"
    "\t[lang0]    a two-letter code for the key language (default = \"en\")\n"
    "\t<lang1>    a two-letter code for the first source language\n"
    "\n"
    "More filenames of \".PO\" / XLIFF files may follow. Language codes ar often\n"
    "required for \".PO\" files. Language codes are optional for the XLIFF format.\n";

constexpr std::string_view VERSION_LINE = "catintake " CATTOOLS_VERSION "\n";

// What a command line of exactly "--help" or "--version" prints on standard output; nothing
// for every other command line, which is an import.
std::optional<std::string_view> information_request(const cattools::Args& args) {
  if (args.size() != 2) return std::nullopt;
  if (args[1] == "--help") return USAGE;
  if (args[1] == "--version") return VERSION_LINE;
  return std::nullopt;
}

char ascii_lower(char byte) {
  return byte >= 'A' && byte <= 'Z' ? byte - 'A' + 'a' : byte;
}

bool equals_ignoring_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (ascii_lower(a[i]) != ascii_lower(b[i])) return false;
  return true;
}

bool is_xliff_name(std::string_view argument) {
  size_t dot = argument.rfind('.');
  if (dot == std::string_view::npos) return false;
  std::string_view extension = argument.substr(dot);
  return equals_ignoring_case(extension, ".xliff") || equals_ignoring_case(extension, ".xlf");
}

// Whether the output argument carries a key-language prefix: its first '=' at offset 2 or 5.
bool has_key_prefix(std::string_view argument) {
  size_t equals = argument.find('=');
  return equals == 2 || equals == 5;
}

// The key language of an existing catalog: the code before the ':' of its first line that is
// not empty, not a comment and holds a ':' after exactly a code's characters. A code that
// cannot stand for a language ("//: ..." is a comment line) does not count.
LanguageCode catalog_key_language(std::string_view bytes) {
  catalog::skip_utf8_bom(bytes);
  catalog::LineReader reader(bytes);
  std::string_view line;
  while (reader.next(line)) {
    line = catalog::skip_blanks(line);
    if (line.empty() || line[0] == '#') continue;
    std::string_view code = line.substr(0, line.find(':'));
    if (code.size() == line.size() || !is_usable_code(code)) continue;
    if (code.size() == 2 || (code.size() == 5 && code[2] == '-')) return LanguageCode(code);
  }
  return LanguageCode("en");
}

class Importer {
 public:
  Importer(const cattools::Args& args, cattools::Console& console)
      : args_(args), console_(console), reporter_(console.err) {}

  int run();

 private:
  bool codes_are_usable() const;
  int out_of_memory();
  void settle_key_language();
  bool import(size_t position);
  // The language prefix (none: empty) and the file name of an input argument; false, reported,
  // when a prefix has no file name after it.
  bool split_input_argument(const std::string& argument, LanguageCode& language, std::string& name);
  // Reads one input file into the table; an XLIFF file may settle the key language.
  bool read_input(std::string_view bytes, bool xliff, size_t position, LanguageCode& language);
  bool update_catalog();
  bool write_catalog(const CatalogLines& lines);

  const cattools::Args& args_;
  cattools::Console& console_;
  Reporter reporter_;
  TranslationTable table_;
  LanguageCode key_{"en"};
  bool key_given_ = false;
  std::string output_;
  bool catalog_existed_ = false;
};

int Importer::run() {
  if (auto information = information_request(args_)) {
    console_.out << *information;
    return console_.out.bad() ? out_of_memory() : 0;
  }
  if (args_.size() < 3) {
    console_.err << USAGE;
    return 1;
  }
  if (!codes_are_usable()) {
    reporter_.report("no language code or invalid language code.");
    return 1;
  }
  settle_key_language();
  for (size_t position = 2; position < args_.size(); ++position)
    if (!import(position)) return 1;
  // A stream drops what it cannot store (out of memory) and only marks itself bad: a report
  // that did not reach the user fails the run before anything is written.
  if (console_.out.bad() || console_.err.bad()) return out_of_memory();
  if (!update_catalog()) return 1;
  console_.out << (catalog_existed_ ? "Merged with existing catalog " : "Created new catalog ")
               << output_ << '\n';
  return console_.out.bad() ? out_of_memory() : 0;
}

int Importer::out_of_memory() {
  reporter_.report("insufficient memory");
  return 1;
}

bool Importer::codes_are_usable() const {
  if (has_key_prefix(args_[1]) && !is_usable_code(copy_language_code(args_[1]).view()))
    return false;
  for (size_t position = 2; position < args_.size(); ++position) {
    const std::string& argument = args_[position];
    if (argument.find('=') != std::string::npos &&
        !is_usable_code(copy_language_code(argument).view()))
      return false;
  }
  return true;
}

void Importer::settle_key_language() {
  const std::string& argument = args_[1];
  if (has_key_prefix(argument)) {
    key_ = copy_language_code(argument);
    key_given_ = true;
    output_ = argument.substr(argument.find('=') + 1);
    return;
  }
  output_ = argument;
  std::string bytes;
  if (cattools::read_file(output_, bytes).ok()) key_ = catalog_key_language(bytes);
}

bool Importer::import(size_t position) {
  const std::string& argument = args_[position];
  LanguageCode language;
  std::string name;
  if (!split_input_argument(argument, language, name)) return false;
  std::string bytes;
  cattools::IoStatus status = cattools::read_file(name, bytes);
  if (!status.ok()) {
    reporter_.report("unable to open file \"" + name + "\": " + status.text());
    return false;
  }
  if (!read_input(bytes, is_xliff_name(argument), position, language)) return false;
  console_.out << "Imported language \"" << language.view() << "\" from " << name << '\n';
  return true;
}

bool Importer::split_input_argument(const std::string& argument, LanguageCode& language,
                                    std::string& name) {
  size_t equals = argument.find('=');
  name = argument.substr(equals == std::string::npos ? 0 : equals + 1);
  if (equals == std::string::npos) return true;
  language = copy_language_code(argument);
  if (!name.empty()) return true;
  reporter_.report("missing filename after language code");
  return false;
}

bool Importer::read_input(std::string_view bytes, bool xliff, size_t position,
                          LanguageCode& language) {
  if (!xliff)
    return read_po_file(bytes, static_cast<int>(position), key_, language, table_, reporter_);
  LanguageCode previous = key_;
  if (!key_given_) key_ = LanguageCode();
  return read_xliff_file(bytes, key_, previous, language, table_, reporter_);
}

bool Importer::update_catalog() {
  std::string bytes;
  cattools::IoStatus status = cattools::read_file(output_, bytes);
  int error = status.error;
  catalog_existed_ = status.ok();
  if (!catalog_existed_ && error != ENOENT && error != ENOTDIR && error != EISDIR) {
    reporter_.report("unable to open file \"" + output_ + "\": " + status.text());
    return false;
  }
  table_.end_lookups();
  try {
    CatalogLines lines(key_);
    lines.load(bytes);
    place_messages(table_, key_, catalog_existed_, lines, reporter_);
    return write_catalog(lines);
  } catch (const std::bad_alloc&) {
    reporter_.report("memory allocation error for catalog parsing");
    return false;
  }
}

bool Importer::write_catalog(const CatalogLines& lines) {
  cattools::OutputFile file;
  cattools::IoStatus status = cattools::OutputFile::replace(output_, console_.faults, file);
  if (status.ok()) status = lines.write(file);
  if (status.ok()) status = file.commit();
  if (status.ok()) return true;
  reporter_.report("unable to create \"" + output_ + "\": " + status.text());
  return false;
}

}  // namespace

int run(const cattools::Args& args, cattools::Console& console) {
  try {
    return Importer(args, console).run();
  } catch (const std::bad_alloc&) {
    console.err << "catintake - insufficient memory\n";
    return 1;
  }
}

}  // namespace catintake
