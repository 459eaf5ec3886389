#pragma once
// The plural rules of languages, as PO headers write them ("nplurals=3; plural=...;"): how
// many forms a language has, and which form a count takes.

#include <string_view>

namespace catalog {

struct PluralRule {
  int forms;                    // nplurals
  std::string_view expression;  // the C expression of n that gives the form's index
};

// The rule of a language code; a five-character code ("pt-BR") takes the rule of its first two
// letters, and a language the table lacks the rule of English (two forms, n != 1).
PluralRule plural_rule(std::string_view code);

}  // namespace catalog
