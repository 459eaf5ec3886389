#include "catweld/reports.h"

namespace catweld {
namespace {

constexpr std::string_view kUsage =
    "catweld - include sub-catalogs into a main catalog\n\nUsage:\tcatweld <catalog> <input1> "
    "[input2 [...]]\n\t<catalog>\tthe filename of the destination file\n\t<input1>\tthe "
    "filename of the first source file\nMore filenames of catalogs may follow\n";

constexpr std::string_view kPrefix = "catweld - ";

void at_position(std::ostream& err, const Report& report) {
  err << report.file << '(' << report.line << ")\n";
}

void print_fatal(std::ostream& err, const Report& report) {
  switch (report.kind) {
    case ReportKind::catalog_unreadable:
      err << kPrefix << "catalog file \"" << report.file << "\" cannot be read\n";
      break;
    case ReportKind::input_unreadable:
      err << kPrefix << "unable to open file \"" << report.file << "\"\n";
      break;
    case ReportKind::insufficient_memory:
      err << kPrefix << "insufficient memory\n";
      break;
    case ReportKind::syntax_error:
      err << kPrefix << "error in the catalog syntax\n";
      break;
    default:
      break;
  }
}

void print_warning(std::ostream& err, const Report& report) {
  switch (report.kind) {
    case ReportKind::short_language_code:
      err << ' ' << kPrefix << "invalid language code on ";
      break;
    case ReportKind::invalid_language_code:
      err << ' ' << kPrefix << "invalid language code on line ";
      break;
    case ReportKind::key_not_found:
      err << kPrefix << "message key is not found, ";
      break;
    case ReportKind::wrong_language:
      err << kPrefix << "message has the wrong language code, ";
      break;
    case ReportKind::not_converted:
      err << kPrefix << "line not converted, characters beyond Latin-1, ";
      break;
    default:
      return;
  }
  at_position(err, report);
}

}  // namespace

void print_report(std::ostream& err, const Report& report) {
  switch (report.kind) {
    case ReportKind::usage:
      err << kUsage;
      break;
    case ReportKind::output_failed:
      err << "Unable to create/rewrite the output file: " << report.detail << '\n';
      break;
    default:
      print_fatal(err, report);
      print_warning(err, report);
  }
}

}  // namespace catweld
