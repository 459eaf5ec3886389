#include "catcheck/output.h"

#include <cstdio>

#include "catalog/text_routines.h"

namespace catcheck {
namespace {

constexpr std::string_view kFull = "\xE2\x96\x88";   // U+2588 FULL BLOCK
constexpr std::string_view kLight = "\xE2\x96\x91";  // U+2591 LIGHT SHADE

std::string finding_text(const Result& result, const Finding& finding) {
  std::string text = "catcheck - " + result.files[finding.file];
  if (finding.line > 0) text += ":" + std::to_string(finding.line);
  text += ": ";
  text += severity_name(severity_of(finding.kind));
  text += ": " + finding.message + " [";
  text += kind_id(finding.kind);
  return text + "]\n";
}

// The share as a percentage with one decimal, cut rather than rounded, so that only a complete
// language shows 100.0%.
std::string share(size_t part, size_t whole) {
  size_t permille = whole == 0 ? 0 : part * 1000 / whole;
  return std::to_string(permille / 10) + "." + std::to_string(permille % 10) + "%";
}

std::string bar(size_t part, size_t whole) {
  size_t full = whole == 0 ? 0 : part * 10 / whole;
  std::string text;
  for (size_t cell = 0; cell < 10; ++cell) text += cell < full ? kFull : kLight;
  return text;
}

std::string padded_left(const std::string& text, size_t width) {
  return text.size() < width ? std::string(width - text.size(), ' ') + text : text;
}

std::string padded_right(const std::string& text, size_t width) {
  return text.size() < width ? text + std::string(width - text.size(), ' ') : text;
}

std::string table_row(std::string_view code, size_t part, size_t whole, std::string_view rest) {
  std::string counted = grouped(part) + "/" + grouped(whole);
  return padded_right(std::string(code), 5) + " " +
         padded_left(counted, 2 * grouped(whole).size() + 1) + "  " +
         padded_left(share(part, whole), 6) + "  " + bar(part, whole) + "  " + std::string(rest) +
         "\n";
}

std::string table(const Statistics& stats) {
  size_t messages = stats.messages;
  std::string text =
      table_row(stats.key_language, messages, messages,
                "key language, " + grouped(stats.plural_messages) +
                    (stats.plural_messages == 1 ? " plural message" : " plural messages"));
  for (const LanguageStats& row : stats.languages)
    text += table_row(row.code, row.translated, messages,
                      "missing " + grouped(row.missing(messages)) + ", empty " +
                          grouped(row.empty) + ", plural complete " + grouped(row.plural_complete) +
                          "/" + grouped(stats.plural_messages));
  return text;
}

std::string counted(size_t count, std::string_view one, std::string_view many) {
  return grouped(count) + " " + std::string(count == 1 ? one : many);
}

// The length of the character at the start of `text` when it is UTF-8 as JSON readers take it
// (at most U+10FFFF, no surrogates, no overlong forms); 0 otherwise. The catalog's own UTF-8
// also has the five- and six-byte forms of the original definition, which JSON cannot carry.
size_t strict_utf8_length(std::string_view text) {
  auto at = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  unsigned char lead = at(0);
  size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                  : lead >= 0xE0 && lead <= 0xEF ? 3
                  : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                 : 0;
  if (length == 0 || text.size() < length) return 0;
  for (size_t i = 1; i < length; ++i)
    if ((at(i) & 0xC0) != 0x80) return 0;
  unsigned char second = at(1);
  if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) ||
      (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second > 0x8F))
    return 0;
  return length;
}

void append_escape(std::string& json, unsigned value) {
  char escape[8];
  std::snprintf(escape, sizeof escape, "\\u%04x", value);
  json += escape;
}

// A JSON string of `text`, which is UTF-8 unless `latin1`: then its bytes above 0x7F are
// Latin-1 characters, as the tools read the file the text comes from. In UTF-8 text, a byte
// that begins no character JSON can carry becomes U+FFFD.
std::string json_string(std::string_view text, bool latin1 = false) {
  std::string json = "\"";
  for (size_t at = 0; at < text.size(); ++at) {
    char byte = text[at];
    auto value = static_cast<unsigned char>(byte);
    if (byte == '"' || byte == '\\') {
      json += '\\';
      json += byte;
    } else if (value < 0x20 || (value >= 0x80 && latin1)) {
      append_escape(json, value);
    } else if (value < 0x80) {
      json += byte;
    } else if (size_t length = strict_utf8_length(text.substr(at)); length > 0) {
      json += text.substr(at, length);
      at += length - 1;
    } else {
      append_escape(json, 0xFFFD);
    }
  }
  return json + "\"";
}

// A file name, as the command line gave it: Latin-1 when it is not UTF-8.
std::string json_name(std::string_view name) {
  return json_string(name, !catalog::is_valid_utf8(name));
}

std::string json_languages(const Statistics& stats) {
  std::string json = "  \"languages\": {";
  const char* separator = "\n";
  for (const LanguageStats& row : stats.languages) {
    json += separator + std::string("    ") + json_string(row.code) +
            ": {\"translated\": " + std::to_string(row.translated) +
            ", \"missing\": " + std::to_string(row.missing(stats.messages)) +
            ", \"empty\": " + std::to_string(row.empty) +
            ", \"plural_complete\": " + std::to_string(row.plural_complete) + "}";
    separator = ",\n";
  }
  return json + (stats.languages.empty() ? "},\n" : "\n  },\n");
}

std::string json_finding(const Result& result, const Finding& finding) {
  return "    {\"file\": " + json_name(result.files[finding.file]) +
         ", \"line\": " + std::to_string(finding.line) +
         ", \"kind\": " + json_string(kind_id(finding.kind)) +
         ", \"severity\": " + json_string(severity_name(severity_of(finding.kind))) +
         ", \"message\": " + json_string(finding.message, result.latin1[finding.file]) +
         ", \"related_line\": " +
         (finding.related_line > 0 ? std::to_string(finding.related_line) : "null") + "}";
}

}  // namespace

std::string grouped(size_t count) {
  std::string digits = std::to_string(count);
  for (size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, 1, ',');
  return digits;
}

std::string text_result(const Result& result) {
  std::string text;
  for (const Finding& finding : result.findings.all()) text += finding_text(result, finding);
  if (result.with_statistics) text += table(result.statistics);
  size_t errors = result.findings.errors();
  size_t warnings = result.findings.all().size() - errors;
  return text + counted(errors, "error", "errors") + ", " +
         counted(warnings, "warning", "warnings") + "\n";
}

std::string json_result(const Result& result) {
  const Statistics& stats = result.statistics;
  std::string json = "{\n  \"catalog\": " + json_name(result.files[0]) + ",\n";
  json += "  \"key_language\": " + json_string(stats.key_language) + ",\n";
  json += "  \"messages\": " + std::to_string(stats.messages) + ",\n";
  if (result.with_statistics) json += json_languages(stats);
  json += "  \"findings\": [";
  const char* separator = "\n";
  for (const Finding& finding : result.findings.all()) {
    json += separator + json_finding(result, finding);
    separator = ",\n";
  }
  return json + (result.findings.all().empty() ? "]\n}\n" : "\n  ]\n}\n");
}

}  // namespace catcheck
