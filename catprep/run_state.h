#pragma once
// Everything one run of the preprocessor changes, in one object: the macro table, the
// conditional stack and the options, with the diagnostics and the include stack, which the run
// owns outside this object so that they outlive it (see run()).

#include <optional>
#include <string>
#include <string_view>

#include "catprep/diagnostics.h"
#include "catprep/expansion.h"
#include "catprep/macros.h"
#include "catprep/reports.h"
#include "catprep/source_reader.h"

namespace catprep {

inline constexpr int kMaxIfLevel = 9;

// Where one level of the conditional stack stands.
enum class IfState {
  none,     // no conditional open at this level
  seeking,  // no branch live yet; this level suppresses lines
  done,     // a branch was live, or all of it lies in a skipped region
};

struct ConditionStack {
  int if_level = 0;
  int skip_level = 0;  // 0 while lines are live, else the level that suppresses them
  IfState if_state[kMaxIfLevel + 1] = {};
  bool else_seen[kMaxIfLevel + 1] = {};  // the level's #else has been read
};

// Whether a directive lets the run go on, or stops it at once (exit code 1, no summary).
enum class Flow { go_on, stop };

struct RunState {
  RunState(const ReportSink& sink, Diagnostics& diagnostics, SourceReader& reader)
      : sink(sink), diagnostics(diagnostics), reader(reader) {}
  RunState(const RunState&) = delete;
  RunState& operator=(const RunState&) = delete;

  ExpansionRules expansion() { return {macros, strip_comments, diagnostics}; }
  bool live() const { return conditions.skip_level == 0; }
  void report(ReportKind kind, std::string_view detail = {}) {
    diagnostics.report_error(kind, detail);
  }
  // Whether a source of `identity` is the file that the run will replace.
  bool is_output(const SourceFiles::Identity& identity) const {
    return identity.has_value() && identity == output_identity;
  }

  const ReportSink& sink;  // for what is no diagnostic
  Diagnostics& diagnostics;
  SourceReader& reader;
  MacroTable macros;
  ConditionStack conditions;
  std::string output_name;
  SourceFiles::Identity output_identity;  // none when the output does not exist yet
  bool strip_comments = false;            // -r
  bool remove_blanks = false;             // -s
};

}  // namespace catprep
