#include "catcheck/translation_checks.h"

#include <cstdint>

#include "catalog/language_code.h"
#include "catalog/text_routines.h"
#include "catcheck/format_directives.h"

namespace catcheck {
namespace {

// Which end of a text differs between the key text and the translation.
// What stands at one end of a text, as far as the shape checks care.
enum class End : uint8_t { other, blank, newline };

End end_of(std::string_view text, bool front) {
  if (text.empty()) return End::other;
  char byte = front ? text.front() : text.back();
  return byte == ' ' || byte == '\t' ? End::blank : byte == '\n' ? End::newline : End::other;
}

struct Shape {
  End end;
  FindingKind kind;
  std::string_view what;  // as the message names it
};

constexpr Shape kShapes[] = {
    {End::blank, FindingKind::blank_shape, "a blank"},
    {End::newline, FindingKind::newline_shape, "\\n"},
};

class LineChecks {
 public:
  LineChecks(const KeyTexts& key, const catalog::MessageLine& line, size_t file,
             FormatScratch& scratch, Findings& findings)
      : key_(key), line_(line), file_(file), scratch_(scratch), findings_(findings) {}

  void run();

 private:
  void add(FindingKind kind, const std::string& message) {
    findings_.add(
        {kind, file_, line_.line(), std::string(line_.code()) + ": " + message, 0, line_.code()});
  }
  void check_formats(std::string_view decoded);
  void check_ends(std::string_view decoded);
  std::string_view key_form() const {
    return line_.is_one_form() && key_.is_plural() ? key_.one() : key_.general();
  }

  const KeyTexts& key_;
  const catalog::MessageLine& line_;
  size_t file_;
  FormatScratch& scratch_;
  Findings& findings_;
};

void LineChecks::run() {
  std::string_view text = line_.text();
  if (ends_in_lone_backslash(text))
    add(FindingKind::trailing_backslash,
        "the text ends in a lone backslash, which escapes nothing and stands for itself");
  if (text.empty()) {
    if (!key_form().empty()) add(FindingKind::empty_translation, "an empty translation");
    return;
  }
  // Most texts hold no escape: they are their own decoded form.
  std::string scratch;
  std::string_view decoded = text;
  if (text.find('\\') != std::string_view::npos)
    decoded = scratch = catalog::unescape_key_text(text);
  check_formats(decoded);
  check_ends(decoded);
}

// A [1] line of a plural message is checked against the key language's [1] line, and may leave
// out its number. When that line holds no directive ("one file"), the general key text is the
// reference: the program passes the same arguments to both forms.
void LineChecks::check_formats(std::string_view decoded) {
  bool one = line_.is_one_form() && key_.is_plural();
  const KeyFormat* reference = nullptr;
  if (one && key_.one_format().has_directives())
    reference = &key_.one_format();
  else if (key_.general_format().has_directives())
    reference = &key_.general_format();
  if (reference == nullptr) return;
  if (auto mismatch = reference->compare(decoded, one, scratch_))
    add(FindingKind::format_mismatch, mismatch->message);
}

void LineChecks::check_ends(std::string_view decoded) {
  for (bool front : {true, false}) {
    End key = end_of(key_form(), front), translation = end_of(decoded, front);
    if (key == translation) continue;
    for (const Shape& shape : kShapes) {
      if ((key == shape.end) == (translation == shape.end)) continue;
      std::string verb = front ? " begins with " : " ends with ";
      std::string what(shape.what);
      add(shape.kind, translation == shape.end
                          ? "the translation" + verb + what + " where the key text does not"
                          : "the key text" + verb + what + " where the translation does not");
    }
  }
}

// `raw` decoded: the text itself when it holds no escape, else its decoded form in `storage`.
std::string_view decoded(std::string_view raw, std::string& storage) {
  if (raw.find('\\') == std::string_view::npos) return raw;
  storage = catalog::unescape_key_text(raw);
  return storage;
}

}  // namespace

KeyTexts::KeyTexts(const catalog::CatalogMessages& catalog, const catalog::Message& message)
    : general_(decoded(message.key_text, general_storage_)) {
  general_format_.emplace(general_);
  for (const catalog::MessageLine& line : catalog.lines(message)) {
    if (!catalog::same_code(line.code(), catalog.key_language()) || !line.is_one_form()) continue;
    one_ = decoded(line.text(), one_storage_);
    one_format_.emplace(*one_);
    return;
  }
}

bool ends_in_lone_backslash(std::string_view text) {
  size_t backslashes = 0;
  while (backslashes < text.size() && text[text.size() - 1 - backslashes] == '\\') ++backslashes;
  return backslashes % 2 == 1;
}

void check_translation(const KeyTexts& key, const catalog::MessageLine& line, size_t file,
                       FormatScratch& scratch, Findings& findings) {
  LineChecks(key, line, file, scratch, findings).run();
}

}  // namespace catcheck
