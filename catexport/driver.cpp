#include "catexport/driver.h"

#include <cstdlib>
#include <ctime>
#include <new>
#include <string>
#include <vector>

#include "catalog/catalog_messages.h"
#include "catalog/file_kind.h"
#include "catalog/language_code.h"
#include "catexport/outputs.h"
#include "catexport/po_writer.h"
#include "catexport/reports.h"
#include "catexport/sub_writer.h"
#include "catexport/xliff_writer.h"
#include "platform/file_io.h"

namespace catexport {
namespace {

constexpr std::string_view kVersionLine = "catexport " CATTOOLS_VERSION "\n";

// How catexport reads a catalog: as catintake does, the key language from the first code before
// a ':' (else "en"), unless key= gives it.
constexpr catalog::ReadRules kCatalogRules{
    catalog::ReadRules::KeyLanguage::first_code_before_colon};

// The date of SOURCE_DATE_EPOCH, for reproducible headers; empty without it.
std::string header_date() {
  const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
  if (epoch == nullptr || *epoch == '\0') return {};
  char* end = nullptr;
  long long seconds = std::strtoll(epoch, &end, 10);
  if (*end != '\0' || seconds < 0) return {};
  std::time_t time = static_cast<std::time_t>(seconds);
  std::tm utc{};
  if (gmtime_r(&time, &utc) == nullptr) return {};
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M+0000", &utc);
  return text;
}

class FileOutput final : public TextOutput {
 public:
  explicit FileOutput(cattools::OutputFile& file) : file_(file) {}
  void write(std::string_view bytes) override { file_.write(bytes); }

 private:
  cattools::OutputFile& file_;
};

class StringOutput final : public TextOutput {
 public:
  void write(std::string_view bytes) override { text.append(bytes); }
  std::string text;
};

class Exporter {
 public:
  Exporter(const cattools::Args& args, cattools::Console& console)
      : args_(args), console_(console) {}

  int run();

 private:
  bool read_command_line();
  bool read_options(size_t& at);
  bool read_outputs(size_t first);
  bool read_catalog();
  bool write(const RequestedOutput& request);
  void write_format(const RequestedOutput& request, TextOutput& out);
  bool refuse(const Report& report) {
    cattools::write_console(console_.err, report_text(report));
    return false;
  }

  const cattools::Args& args_;
  cattools::Console& console_;
  std::string xliff_version_ = "1.2";
  std::string catalog_name_;
  std::string key_language_;
  std::vector<RequestedOutput> outputs_;
  std::string bytes_;
  std::optional<catalog::CatalogMessages> catalog_;
  std::string date_ = header_date();
};

int Exporter::run() {
  if (args_.size() == 2 && args_[1] == "--help")
    return cattools::write_console(console_.out, kUsage) ? 0 : 1;
  if (args_.size() == 2 && args_[1] == "--version")
    return cattools::write_console(console_.out, kVersionLine) ? 0 : 1;
  if (!read_command_line() || !read_catalog()) return 1;
  for (const RequestedOutput& request : outputs_)
    if (!write(request)) return 1;
  return 0;
}

// Every argument is checked before any file is read or written.
bool Exporter::read_command_line() {
  size_t at = 1;
  if (!read_options(at)) return false;
  if (args_.size() < at + 2) return refuse({ReportKind::usage});
  std::string_view catalog = args_[at];
  catalog::KeyedCatalog keyed = catalog::split_keyed_catalog(catalog);
  key_language_ = keyed.code;
  if (!keyed.code.empty() && !catalog::is_valid_code(keyed.code))
    return refuse({ReportKind::invalid_code, args_[at]});
  catalog_name_ = keyed.path;
  return read_outputs(at + 1);
}

bool Exporter::read_options(size_t& at) {
  for (; at < args_.size() && args_[at].starts_with('-') && args_[at] != "-"; ++at) {
    if (args_[at] != "--xliff-version") {
      refuse({ReportKind::unknown_option, args_[at]});
      return refuse({ReportKind::usage});
    }
    if (at + 1 == args_.size() || (args_[at + 1] != "1.2" && args_[at + 1] != "2.0"))
      return refuse({ReportKind::option_value, args_[at]});
    xliff_version_ = args_[++at];
  }
  return true;
}

bool Exporter::read_outputs(size_t first) {
  for (size_t at = first; at < args_.size(); ++at) {
    if (args_[at].starts_with('-') && args_[at] != "-") {
      refuse({ReportKind::unknown_option, args_[at]});
      return refuse({ReportKind::usage});
    }
    RequestedOutput& request = outputs_.emplace_back();
    if (std::optional<ReportKind> refusal = parse_output(args_[at], request))
      return refuse({*refusal, args_[at]});
    if (request.to_stdout() && args_.size() - first > 1)
      return refuse({ReportKind::stdout_not_alone, args_[at]});
  }
  return true;
}

bool Exporter::read_catalog() {
  cattools::IoStatus status = cattools::read_file(catalog_name_, bytes_);
  if (!status.ok()) {
    std::string reason = status.text();
    return refuse({ReportKind::catalog_unreadable, catalog_name_, reason});
  }
  if (std::string_view reason = catalog::not_a_catalog_reason(bytes_); !reason.empty())
    return refuse({ReportKind::not_a_catalog, catalog_name_, reason});
  catalog_.emplace(bytes_, kCatalogRules, key_language_);
  return true;
}

bool Exporter::write(const RequestedOutput& request) {
  if (request.to_stdout()) {
    StringOutput out;
    write_format(request, out);
    return cattools::write_console(console_.out, out.text) ||
           refuse({ReportKind::output_failed, "-", "standard output"});
  }
  cattools::OutputFile file;
  cattools::IoStatus status = cattools::OutputFile::replace(request.path, console_.files, file);
  if (status.ok()) {
    FileOutput out(file);
    write_format(request, out);
    status = file.commit();
  }
  if (status.ok()) return true;
  std::string reason = status.text();
  return refuse({ReportKind::output_failed, request.path, reason});
}

void Exporter::write_format(const RequestedOutput& request, TextOutput& out) {
  std::string_view language = request.language.view();
  switch (request.format) {
    case Format::po:
    case Format::pot: {
      PoCounts counts = write_po(*catalog_, {catalog_name_, language, date_}, out);
      if (counts.plural_lines_left_out > 0)
        refuse({ReportKind::plural_lines_left_out, request.path, {}, counts.plural_lines_left_out});
      if (counts.duplicates_left_out > 0)
        refuse({ReportKind::duplicates_left_out, request.path, {}, counts.duplicates_left_out});
      return;
    }
    case Format::xliff: {
      XliffCounts counts = write_xliff(*catalog_, {catalog_name_, language, xliff_version_}, out);
      if (counts.plural_lines_left_out > 0)
        refuse({ReportKind::plural_lines_left_out, request.path, {}, counts.plural_lines_left_out});
      if (counts.duplicates_left_out > 0)
        refuse({ReportKind::duplicates_left_out, request.path, {}, counts.duplicates_left_out});
      if (counts.texts_left_out > 0)
        refuse({ReportKind::texts_left_out, request.path, {}, counts.texts_left_out});
      return;
    }
    case Format::sub:
      if (size_t left_out = write_sub_catalog(*catalog_, language, out))
        refuse({ReportKind::duplicates_left_out, request.path, {}, left_out});
      return;
  }
}

}  // namespace

int run(const cattools::Args& args, cattools::Console& console) {
  try {
    return Exporter(args, console).run();
  } catch (const std::bad_alloc&) {
    cattools::write_console(console.err, kInsufficientMemory);
    return 1;
  }
}

}  // namespace catexport
