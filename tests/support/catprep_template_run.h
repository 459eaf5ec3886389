#pragma once
// Test helpers: the reports of catprep as values, and in-process runs of the preprocessor on
// templates held in memory.

#include <map>
#include <string>
#include <vector>

#include "catprep/reports.h"
#include "tests/support/failing_file_system.h"

namespace catprep::testing {

// A report with its texts copied, so that it outlives the buffers it named.
struct ReportCopy {
  ReportKind kind;
  std::string file = {};
  int line = kNoLine;
  std::string detail = {};
  int count = 0;
  bool operator==(const ReportCopy&) const = default;
};

// A sink that keeps every report, as a value and as the text it prints.
class ReportLog {
 public:
  ReportLog();
  ReportLog(const ReportLog&) = delete;
  ReportLog& operator=(const ReportLog&) = delete;

  const ReportSink& sink() const { return sink_; }
  // The text printed since the last call.
  std::string take_text();

  std::string text;
  std::vector<ReportCopy> reports;

 private:
  ReportSink sink_;
};

struct TemplateRun {
  int exit_code = 0;
  std::string out;                  // what the run printed
  std::vector<ReportCopy> reports;  // the same, as values
  std::string output;               // the output file
};

// Runs `options` (each one argument), the output file and "t.tpl" holding `main`; `includes`
// are further files by name.
TemplateRun preprocess(const std::string& main, const std::vector<std::string>& options = {},
                       const std::map<std::string, std::string>& includes = {},
                       const testing_support::FaultPlan& faults = {});

}  // namespace catprep::testing
