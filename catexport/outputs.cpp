#include "catexport/outputs.h"

#include "catalog/text_routines.h"

namespace catexport {
namespace {

bool has_extension(std::string_view path, std::string_view extension) {
  return path.size() > extension.size() &&
         catalog::equals_ignoring_case(path.substr(path.size() - extension.size()), extension);
}

std::optional<Format> format_of(std::string_view path) {
  if (has_extension(path, ".po")) return Format::po;
  if (has_extension(path, ".xlf") || has_extension(path, ".xliff")) return Format::xliff;
  if (has_extension(path, ".sub")) return Format::sub;
  if (has_extension(path, ".pot")) return Format::pot;
  return std::nullopt;
}

std::optional<ReportKind> parse_template(std::string_view argument, RequestedOutput& request) {
  request.path = argument;
  request.format = Format::pot;
  if (argument == "-" || format_of(argument) == Format::pot) return std::nullopt;
  return ReportKind::unknown_output;
}

}  // namespace

std::optional<ReportKind> parse_output(std::string_view argument, RequestedOutput& request) {
  request = RequestedOutput();
  size_t equals = argument.find('=');
  if (equals != 2 && equals != 5) return parse_template(argument, request);
  request.language = catalog::LanguageCode(argument.substr(0, equals));
  request.path = argument.substr(equals + 1);
  if (!catalog::is_valid_code(request.language.view())) return ReportKind::invalid_code;
  if (request.to_stdout()) return std::nullopt;  // the PO file
  std::optional<Format> format = format_of(request.path);
  if (format == Format::pot) return ReportKind::template_language;
  if (!format) return ReportKind::unknown_output;
  request.format = *format;
  return std::nullopt;
}

}  // namespace catexport
