// The checks of an arbitrary catalog and its sub-catalogs, run as catcheck runs them, and both
// forms of the result. The input holds the catalog, then optionally "\n=====\n" and a
// sub-catalog, any number of times. Aborts when the result breaks what its readers rely on:
// findings in file and line order, each on a line its file has; language figures that add up;
// one text line per finding and figure row; JSON that parses, with every string UTF-8.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/line_reader.h"
#include "catcheck/check_run.h"
#include "catcheck/output.h"

namespace {

constexpr std::string_view kSeparator = "\n=====\n";

void require(bool holds) {
  if (!holds) std::abort();
}

std::vector<std::string_view> split_inputs(std::string_view data) {
  std::vector<std::string_view> parts;
  for (size_t at = data.find(kSeparator); at != std::string_view::npos;
       at = data.find(kSeparator)) {
    parts.push_back(data.substr(0, at));
    data.remove_prefix(at + kSeparator.size());
  }
  parts.push_back(data);
  return parts;
}

int line_count(std::string_view bytes) {
  catalog::LineReader reader(bytes);
  std::string_view line;
  while (reader.next(line)) {
  }
  return reader.line_number();
}

// UTF-8 as RFC 3629 has it: shortest forms, no surrogates, nothing above U+10FFFF. Written
// here rather than taken from the catalog library, whose reading of UTF-8 is what is tested.
bool is_strict_utf8(std::string_view text) {
  for (size_t at = 0; at < text.size();) {
    auto lead = static_cast<unsigned char>(text[at]);
    size_t length = lead < 0x80                    ? 1
                    : lead >= 0xC2 && lead <= 0xDF ? 2
                    : lead >= 0xE0 && lead <= 0xEF ? 3
                    : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                   : 0;
    if (length == 0 || text.size() - at < length) return false;
    uint32_t value = length == 1 ? lead : lead & (0x7Fu >> length);
    for (size_t k = 1; k < length; ++k) {
      auto byte = static_cast<unsigned char>(text[at + k]);
      if ((byte & 0xC0) != 0x80) return false;
      value = value << 6 | (byte & 0x3Fu);
    }
    constexpr uint32_t kSmallest[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < kSmallest[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
      return false;
    at += length;
  }
  return true;
}

// A JSON reader that only says whether its input is one JSON value and nothing else.
class JsonCheck {
 public:
  explicit JsonCheck(std::string_view json) : json_(json) {}

  bool document() {
    skip_space();
    if (!value(0)) return false;
    skip_space();
    return at_ == json_.size();
  }

 private:
  bool value(int depth) {
    if (depth > 16 || at_ == json_.size()) return false;
    switch (json_[at_]) {
      case '{':
        return members(depth);
      case '[':
        return elements(depth);
      case '"':
        return string();
      case 'n':
        return word("null");
      case 't':
        return word("true");
      case 'f':
        return word("false");
      default:
        return number();
    }
  }
  bool members(int depth) {
    ++at_;
    skip_space();
    if (take('}')) return true;
    do {
      skip_space();
      if (!string()) return false;
      skip_space();
      if (!take(':')) return false;
      skip_space();
      if (!value(depth + 1)) return false;
      skip_space();
    } while (take(','));
    return take('}');
  }
  bool elements(int depth) {
    ++at_;
    skip_space();
    if (take(']')) return true;
    do {
      skip_space();
      if (!value(depth + 1)) return false;
      skip_space();
    } while (take(','));
    return take(']');
  }
  bool string() {
    if (!take('"')) return false;
    size_t start = at_;
    while (at_ < json_.size() && json_[at_] != '"') {
      auto byte = static_cast<unsigned char>(json_[at_++]);
      if (byte < 0x20) return false;
      if (byte != '\\') continue;
      if (at_ == json_.size()) return false;
      char escape = json_[at_++];
      if (escape == 'u') {
        for (int k = 0; k < 4; ++k, ++at_)
          if (at_ == json_.size() || !is_hex(json_[at_])) return false;
      } else if (std::string_view("\"\\/bfnrt").find(escape) == std::string_view::npos) {
        return false;
      }
    }
    if (!is_strict_utf8(json_.substr(start, at_ - start))) return false;
    return take('"');
  }
  bool number() {
    take('-');
    size_t digits = at_;
    while (at_ < json_.size() && json_[at_] >= '0' && json_[at_] <= '9') ++at_;
    return at_ > digits && (json_[digits] != '0' || at_ == digits + 1);
  }
  bool word(std::string_view text) {
    if (json_.substr(at_, text.size()) != text) return false;
    at_ += text.size();
    return true;
  }
  bool take(char byte) {
    if (at_ == json_.size() || json_[at_] != byte) return false;
    ++at_;
    return true;
  }
  void skip_space() {
    while (at_ < json_.size() &&
           std::string_view(" \t\n\r").find(json_[at_]) != std::string_view::npos)
      ++at_;
  }
  static bool is_hex(char byte) {
    return (byte >= '0' && byte <= '9') || (byte >= 'a' && byte <= 'f') ||
           (byte >= 'A' && byte <= 'F');
  }

  std::string_view json_;
  size_t at_ = 0;
};

void check_findings(const catcheck::Result& result, const std::vector<std::string_view>& inputs) {
  const auto& findings = result.findings.all();
  for (size_t at = 0; at < findings.size(); ++at) {
    const catcheck::Finding& finding = findings[at];
    require(finding.file < inputs.size());
    int lines = line_count(inputs[finding.file]);
    require(finding.line >= 1 && finding.line <= lines);
    require(finding.related_line >= 0 && finding.related_line <= lines);
    if (at > 0) {
      const catcheck::Finding& before = findings[at - 1];
      require(before.file < finding.file ||
              (before.file == finding.file && before.line <= finding.line));
    }
  }
}

void check_statistics(const catcheck::Statistics& stats, size_t lines) {
  require(stats.messages <= lines);
  require(stats.plural_messages <= stats.messages);
  for (const catcheck::LanguageStats& row : stats.languages) {
    require(row.translated + row.empty <= stats.messages);
    require(row.plural_complete <= stats.plural_messages);
    require(row.plural_complete <= row.translated);
  }
}

// One line per finding, one per language row and the key language's, one for the counts.
void check_text(const catcheck::Result& result) {
  std::string text = catcheck::text_result(result);
  size_t rows = result.with_statistics ? result.statistics.languages.size() + 1 : 0;
  size_t line_ends = 0;
  for (char byte : text) line_ends += byte == '\n';
  require(!text.empty() && text.back() == '\n');
  require(line_ends == result.findings.all().size() + rows + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string_view> inputs =
      split_inputs(std::string_view(reinterpret_cast<const char*>(data), size));
  catcheck::Result result;
  std::vector<std::string> bytes;
  for (size_t file = 0; file < inputs.size(); ++file) {
    result.files.push_back(file == 0 ? "main.cat" : "sub" + std::to_string(file) + ".cat");
    bytes.emplace_back(inputs[file]);
  }
  catcheck::check_files(bytes, {}, result);

  check_findings(result, inputs);
  check_statistics(result.statistics, catalog::count_lines(inputs[0]) + 1);
  check_text(result);
  require(JsonCheck(catcheck::json_result(result)).document());
  result.with_statistics = false;
  check_text(result);
  require(JsonCheck(catcheck::json_result(result)).document());
  return 0;
}
