#pragma once
// In-memory imports for the unit tests: readers, table and update without files.

#include <string>
#include <vector>

#include "catintake/catalog_lines.h"
#include "catintake/catalog_update.h"
#include "catintake/po_reader.h"
#include "catintake/xliff_reader.h"

namespace catintake::testing {

struct Input {
  std::string language;  // as a command-line prefix would give it; empty for none
  std::string bytes;
  bool xliff = false;
};

struct Outcome {
  bool read = false;                   // every input was read
  std::string catalog;                 // the catalog written, when every input was read
  std::string err;                     // what was reported
  std::vector<std::string> languages;  // each input's language after reading
};

// Imports `inputs` in order into `catalog` (nothing there when `existed` is false), with the
// key language `key` as if given on the command line when `key_given` is set.
inline Outcome import(const std::vector<Input>& inputs, const std::string& catalog = "",
                      bool existed = false, std::string key = "en", bool key_given = false) {
  Outcome outcome;
  ReportSink report = [&outcome](const Report& r) {
    if (!is_progress(r.kind)) outcome.err += report_text(r);
  };
  TranslationTable table;
  int line = 0;
  LanguageCode key_language(key);
  outcome.read = true;
  for (size_t i = 0; i < inputs.size() && outcome.read; ++i) {
    LanguageCode language(inputs[i].language);
    // Inputs are named by their language prefix: "nl.po", "de.xlf", "input.po" without one.
    std::string name = (inputs[i].language.empty() ? "input" : inputs[i].language) +
                       (inputs[i].xliff ? ".xlf" : ".po");
    ReadTarget target{table, report, line, name};
    if (inputs[i].xliff) {
      LanguageCode previous = key_language;
      if (!key_given) key_language = LanguageCode();
      outcome.read = read_xliff_file(inputs[i].bytes, key_language, previous, language, target);
    } else {
      outcome.read = read_po_file(inputs[i].bytes, i == 0, key_language, language, target);
    }
    outcome.languages.emplace_back(language.view());
  }
  if (outcome.read) {
    CatalogLines lines(key_language);
    lines.load(catalog);
    place_messages(table, key_language, existed, lines, report);
    for (auto node = lines.next(CatalogLines::kHead); node != CatalogLines::kNone;
         node = lines.next(node))
      outcome.catalog += std::string(lines.text(node)) + "\n";
  }
  return outcome;
}

inline Input po(std::string language, std::string bytes) {
  return {language, bytes, false};
}
inline Input xliff(std::string language, std::string bytes) {
  return {language, bytes, true};
}

}  // namespace catintake::testing
