#include "catcheck/findings.h"

#include <algorithm>
#include <array>

namespace catcheck {
namespace {

struct KindInfo {
  std::string_view id;
  Severity severity;
};

constexpr std::array<KindInfo, 22> kKinds{{
    {"key-collision", Severity::error},
    {"ambiguous-hash-line", Severity::error},
    {"ambiguous-key-line", Severity::error},
    {"unknown-message", Severity::warning},
    {"duplicate-key-line", Severity::error},
    {"format-mismatch", Severity::error},
    {"short-line", Severity::error},
    {"no-colon", Severity::error},
    {"invalid-code", Severity::error},
    {"line-before-key", Severity::error},
    {"key-language-translation", Severity::error},
    {"key-language-differs", Severity::error},
    {"hash-line-comment", Severity::error},
    {"second-language", Severity::error},
    {"mixed-encoding", Severity::error},
    {"beyond-latin1", Severity::error},
    {"plural-without-general", Severity::warning},
    {"plural-without-one", Severity::warning},
    {"blank-shape", Severity::warning},
    {"newline-shape", Severity::warning},
    {"trailing-backslash", Severity::warning},
    {"empty-translation", Severity::warning},
}};
static_assert(kKinds.size() == static_cast<size_t>(FindingKind::empty_translation) + 1);

}  // namespace

std::string_view kind_id(FindingKind kind) {
  return kKinds[static_cast<size_t>(kind)].id;
}

Severity severity_of(FindingKind kind) {
  return kKinds[static_cast<size_t>(kind)].severity;
}

void Findings::sort() {
  std::stable_sort(findings_.begin(), findings_.end(), [](const Finding& a, const Finding& b) {
    return a.file != b.file ? a.file < b.file : a.line < b.line;
  });
}

size_t Findings::errors() const {
  return static_cast<size_t>(
      std::count_if(findings_.begin(), findings_.end(),
                    [](const Finding& f) { return severity_of(f.kind) == Severity::error; }));
}

}  // namespace catcheck
