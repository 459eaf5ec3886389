#include "catintake/catalog_update.h"

#include <algorithm>
#include <string>
#include <vector>

#include "catalog/catalog_format.h"
#include "catalog/numbers.h"
#include "catalog/text_routines.h"

namespace catintake {
namespace {

using Node = CatalogLines::Node;

struct Run {
  std::vector<uint32_t> texts;
  std::vector<int32_t> plural_indexes;  // of its texts that have one
  bool key_language = false;
  bool has_general = false;
};

std::string format_line(const MessageText& text) {
  std::string line(text.language.view());
  if (text.plural_index != kNoPluralIndex) {
    line += '[';
    line += std::to_string(text.plural_index);
    line += ']';
  }
  line += ": ";
  line += text.text;
  return line;
}

bool is_language_line(std::string_view line) {
  return !line.empty() && line[0] != '#' && !line.starts_with("//");
}

// Whether `line` begins with `code`, "[index]", optional blanks and ':'.
bool is_plural_line_of(std::string_view line, std::string_view code, int32_t index) {
  std::string head = std::string(code) + "[" + std::to_string(index) + "]";
  if (!line.starts_with(head)) return false;
  std::string_view rest = catalog::skip_blanks(line.substr(head.size()));
  return !rest.empty() && rest[0] == ':';
}

// The plural index of a language line: kNoPluralIndex without one, -1 for an index that is no
// number (a form no import brings).
int32_t plural_index_of(std::string_view line) {
  catalog::LanguageLine head = catalog::read_language_line(line);
  if (!head.has_plural_index()) return kNoPluralIndex;
  std::string_view index = catalog::skip_blanks(head.after_code.substr(1));
  if (index.empty() || index[0] < '0' || index[0] > '9') return -1;
  return catalog::read_decimal(index);
}

class MessagePlacer {
 public:
  MessagePlacer(const TranslationTable& table, LanguageCode key_language, bool catalog_existed,
                CatalogLines& lines, const ReportSink& report)
      : table_(table),
        key_(key_language),
        existed_(catalog_existed),
        lines_(lines),
        report_(report) {}

  void place(uint32_t message);

 private:
  void split_runs(uint32_t message);
  void place_run(const Run& run);
  void place_key_text(const MessageText& text);
  void place_translation(const MessageText& text, const Run& run);
  void remove_replaced_lines(Node before, std::string_view code, const Run& run);
  void place_key_plural(const MessageText& text);
  void place_plural(const MessageText& text, bool run_placed_general);
  bool is_key_line(Node node) const;
  Node message_end() const;  // the next key line after the message's, or none

  const TranslationTable& table_;
  LanguageCode key_;
  bool existed_;
  CatalogLines& lines_;
  const ReportSink& report_;
  std::vector<Run> runs_;
  Node key_line_ = CatalogLines::kNone;
  Node written_last_ = CatalogLines::kNone;
};

void MessagePlacer::place(uint32_t message) {
  split_runs(message);
  if (runs_.empty()) return;  // every text of it was skipped, and reported, already
  size_t first = 0;
  while (first < runs_.size() && !(runs_[first].key_language && runs_[first].has_general)) ++first;
  if (first == runs_.size()) {
    report_({ReportKind::no_key_text});
    return;
  }
  key_line_ = written_last_ = CatalogLines::kNone;
  place_run(runs_[first]);
  for (size_t i = 0; i < runs_.size(); ++i)
    if (i != first) place_run(runs_[i]);
}

// A translation into the key language has no line of its own: placed as a key-language text
// it would open a message of its own and draw the plural lines of its message after it.
void MessagePlacer::split_runs(uint32_t message) {
  runs_.clear();
  for (uint32_t id = table_.message(message).first; id != kNoId; id = table_.text(id).next) {
    const MessageText& text = table_.text(id);
    if (!text.key && same_language(text.language.view(), key_.view())) {
      report_({.kind = ReportKind::key_language_translation, .detail = text.text});
      continue;
    }
    if (runs_.empty() ||
        !same_language(table_.text(runs_.back().texts[0]).language.view(), text.language.view())) {
      runs_.emplace_back();
      runs_.back().key_language = same_language(text.language.view(), key_.view());
    }
    runs_.back().texts.push_back(id);
    if (text.plural_index == kNoPluralIndex)
      runs_.back().has_general = true;
    else
      runs_.back().plural_indexes.push_back(text.plural_index);
  }
}

void MessagePlacer::place_run(const Run& run) {
  for (uint32_t id : run.texts) {
    const MessageText& text = table_.text(id);
    if (text.plural_index != kNoPluralIndex) continue;
    if (run.key_language)
      place_key_text(text);
    else
      place_translation(text, run);
  }
  for (uint32_t id : run.texts) {
    const MessageText& text = table_.text(id);
    if (text.plural_index == kNoPluralIndex) continue;
    if (run.key_language)
      place_key_plural(text);
    else
      place_plural(text, run.has_general);
  }
}

void MessagePlacer::place_key_text(const MessageText& text) {
  Node found = lines_.find_key_line(text.text);
  if (found == CatalogLines::kNone) {
    if (existed_) {
      report_({.kind = ReportKind::key_message_added, .detail = text.text});
    }
    if (!lines_.empty()) lines_.append("");
    found = lines_.append(format_line(text));
  }
  key_line_ = written_last_ = found;
}

// Replaces the language's lines within the message where they stand, or adds the line after
// the message's last language line. Only the lines whose forms the run brings are replaced:
// a line of another plural index stays.
void MessagePlacer::place_translation(const MessageText& text, const Run& run) {
  std::string line = format_line(text);
  std::string_view code = text.language.view();
  Node end = message_end();
  Node last_language_line = key_line_;
  for (Node before = key_line_; lines_.next(before) != end; before = lines_.next(before)) {
    Node node = lines_.next(before);
    if (same_language(lines_.text(node), code)) {
      remove_replaced_lines(before, code, run);
      written_last_ = lines_.insert_after(before, line);
      return;
    }
    if (is_language_line(lines_.text(node))) last_language_line = node;
  }
  written_last_ = lines_.insert_after(last_language_line, line);
}

// Removes, of the language's lines that follow `before` together, those of the run's forms.
void MessagePlacer::remove_replaced_lines(Node before, std::string_view code, const Run& run) {
  for (Node at = before; lines_.next(at) != CatalogLines::kNone;) {
    std::string_view next = lines_.text(lines_.next(at));
    if (!same_language(next, code)) return;
    int32_t index = plural_index_of(next);
    bool replaced = index == kNoPluralIndex ||
                    std::find(run.plural_indexes.begin(), run.plural_indexes.end(), index) !=
                        run.plural_indexes.end();
    if (replaced)
      lines_.remove_after(at);
    else
      at = lines_.next(at);
  }
}

void MessagePlacer::place_key_plural(const MessageText& text) {
  std::string line = format_line(text);
  Node reached = key_line_;
  while (lines_.text(reached) != line) {
    Node node = lines_.next(reached);
    if (node == CatalogLines::kNone || !same_language(lines_.text(node), key_.view()) ||
        is_key_line(node))
      break;
    reached = node;
  }
  if (lines_.text(reached) != line) reached = lines_.insert_after(reached, line);
  written_last_ = reached;
}

void MessagePlacer::place_plural(const MessageText& text, bool run_placed_general) {
  std::string line = format_line(text);
  if (!run_placed_general) {
    Node end = message_end();
    for (Node node = lines_.next(key_line_); node != end; node = lines_.next(node)) {
      if (is_plural_line_of(lines_.text(node), text.language.view(), text.plural_index)) {
        lines_.replace(node, line);
        written_last_ = node;
        return;
      }
    }
  }
  written_last_ = lines_.insert_after(written_last_, line);
}

bool MessagePlacer::is_key_line(Node node) const {
  return lines_.is_key_line(node);
}

Node MessagePlacer::message_end() const {
  Node node = lines_.next(key_line_);
  while (node != CatalogLines::kNone && !is_key_line(node)) node = lines_.next(node);
  return node;
}

}  // namespace

void place_messages(const TranslationTable& table, LanguageCode key_language, bool catalog_existed,
                    CatalogLines& lines, const ReportSink& report) {
  MessagePlacer placer(table, key_language, catalog_existed, lines, report);
  for (uint32_t message = 0; message < table.message_count(); ++message) placer.place(message);
}

}  // namespace catintake
