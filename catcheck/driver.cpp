#include "catcheck/driver.h"

#include <algorithm>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "catalog/file_kind.h"
#include "catalog/language_code.h"
#include "catcheck/check_run.h"
#include "catcheck/output.h"
#include "catcheck/reports.h"
#include "platform/file_io.h"

namespace catcheck {
namespace {

constexpr std::string_view kVersionLine = "catcheck " CATTOOLS_VERSION "\n";
constexpr int kUsageExit = 2;

class Checker {
 public:
  Checker(const cattools::Args& args, cattools::Console& console)
      : args_(args), console_(console) {}

  int run();

 private:
  bool read_command_line();
  bool read_option(size_t& at);
  bool read_languages(std::string_view list);
  bool read_file(size_t file);
  void check();
  void keep_selected_languages();
  bool selected(std::string_view code) const {
    return languages_.empty() ||
           std::find(languages_.begin(), languages_.end(), code) != languages_.end();
  }
  bool refuse(const Report& report) {
    cattools::write_console(console_.err, report_text(report));
    return false;
  }

  const cattools::Args& args_;
  cattools::Console& console_;
  bool json_ = false;
  std::vector<std::string> languages_;  // empty: all
  std::string key_language_;
  Result result_;
  std::vector<std::string> bytes_;  // of each file
};

int Checker::run() {
  if (args_.size() == 2 && args_[1] == "--help")
    return cattools::write_console(console_.out, kUsage) ? 0 : kUsageExit;
  if (args_.size() == 2 && args_[1] == "--version")
    return cattools::write_console(console_.out, kVersionLine) ? 0 : kUsageExit;
  if (!read_command_line()) return kUsageExit;
  bytes_.resize(result_.files.size());
  for (size_t file = 0; file < result_.files.size(); ++file)
    if (!read_file(file)) return kUsageExit;
  check();
  std::string out = json_ ? json_result(result_) : text_result(result_);
  if (!cattools::write_console(console_.out, out)) return kUsageExit;
  return result_.findings.errors() > 0 ? 1 : 0;
}

// Options may stand anywhere; every argument is checked before any file is read.
bool Checker::read_command_line() {
  for (size_t at = 1; at < args_.size(); ++at) {
    if (args_[at].starts_with("-") && args_[at] != "-") {
      if (!read_option(at)) return false;
    } else {
      result_.files.push_back(args_[at]);
    }
  }
  if (result_.files.empty()) return refuse({ReportKind::usage});
  std::string& catalog = result_.files[0];
  catalog::KeyedCatalog keyed = catalog::split_keyed_catalog(catalog);
  if (keyed.code.empty()) return true;
  if (!catalog::is_valid_code(keyed.code)) return refuse({ReportKind::invalid_code, catalog});
  key_language_ = keyed.code;
  catalog = std::string(keyed.path);
  return true;
}

bool Checker::read_option(size_t& at) {
  std::string_view option = args_[at];
  if (option == "--no-stats") {
    result_.with_statistics = false;
    return true;
  }
  if (option != "--format" && option != "--languages") {
    refuse({ReportKind::unknown_option, option});
    return refuse({ReportKind::usage});
  }
  if (at + 1 == args_.size()) return refuse({ReportKind::option_value, option});
  std::string_view value = args_[++at];
  if (option == "--languages")
    return read_languages(value) || refuse({ReportKind::option_value, option});
  if (value != "text" && value != "json") return refuse({ReportKind::option_value, option});
  json_ = value == "json";
  return true;
}

bool Checker::read_languages(std::string_view list) {
  while (true) {
    size_t comma = list.find(',');
    std::string_view code = list.substr(0, comma);
    if (!catalog::is_valid_code(code)) return false;
    languages_.emplace_back(code);
    if (comma == std::string_view::npos) return true;
    list.remove_prefix(comma + 1);
  }
}

bool Checker::read_file(size_t file) {
  const std::string& name = result_.files[file];
  cattools::IoStatus status = cattools::read_file(name, bytes_[file]);
  if (!status.ok()) {
    std::string reason = status.text();
    return refuse({ReportKind::file_unreadable, name, reason});
  }
  if (std::string_view reason = catalog::not_a_catalog_reason(bytes_[file]); !reason.empty())
    return refuse({ReportKind::not_a_catalog, name, reason});
  return true;
}

void Checker::check() {
  check_files(bytes_, key_language_, result_);
  keep_selected_languages();
}

void Checker::keep_selected_languages() {
  if (languages_.empty()) return;
  result_.findings.keep_if([&](const Finding& finding) {
    return finding.language.empty() || selected(finding.language);
  });
  auto& rows = result_.statistics.languages;
  std::erase_if(rows, [&](const LanguageStats& row) { return !selected(row.code); });
  // A language asked for that has no line yet is not translated at all.
  for (const std::string& code : languages_) {
    bool listed = std::any_of(rows.begin(), rows.end(),
                              [&](const LanguageStats& row) { return row.code == code; });
    if (!listed && code != result_.statistics.key_language) rows.push_back({code});
  }
}

}  // namespace

int run(const cattools::Args& args, cattools::Console& console) {
  try {
    return Checker(args, console).run();
  } catch (const std::bad_alloc&) {
    cattools::write_console(console.err, kInsufficientMemory);
    return kUsageExit;
  }
}

}  // namespace catcheck
