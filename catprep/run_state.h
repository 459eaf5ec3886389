#pragma once
// Everything one run of the preprocessor changes, in one object: the diagnostics, the include
// stack with its reader, the macro table, the conditional stack and the options.

#include <ostream>

#include "catprep/diagnostics.h"
#include "catprep/expansion.h"
#include "catprep/source_reader.h"
#include "catprep/macros.h"

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
};

// Whether a directive lets the run go on, or stops it at once (exit code 1, no summary).
enum class Flow { go_on, stop };

struct RunState {
  RunState(std::ostream& out, SourceFiles& files)
      : out(out), diagnostics(out), reader(files, diagnostics) {
    diagnostics.attach(reader);
  }
  RunState(const RunState&) = delete;
  RunState& operator=(const RunState&) = delete;

  ExpansionRules expansion() { return {macros, strip_comments, diagnostics}; }
  bool live() const { return conditions.skip_level == 0; }
  void report(const char* message) { diagnostics.report_error(message); }

  std::ostream& out;
  Diagnostics diagnostics;
  SourceReader reader;
  MacroTable macros;
  ConditionStack conditions;
  bool strip_comments = false;  // -r
  bool remove_blanks = false;   // -s
};

}  // namespace catprep
