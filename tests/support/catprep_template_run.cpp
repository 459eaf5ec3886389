#include "tests/support/catprep_template_run.h"

#include <sstream>

#include "catprep/driver.h"
#include "tests/support/test_support.h"

namespace catprep::testing {

ReportLog::ReportLog()
    : sink_([this](const Report& r) {
        text += report_text(r);
        reports.push_back({r.kind, std::string(r.file), r.line, std::string(r.detail), r.count});
      }) {}

std::string ReportLog::take_text() {
  std::string taken = std::move(text);
  text.clear();
  return taken;
}

TemplateRun preprocess(const std::string& main, const std::vector<std::string>& options,
                       const std::map<std::string, std::string>& includes,
                       const testing_support::FaultPlan& faults) {
  testing_support::ScratchDir dir;
  MemoryFiles files;
  files.add("t.tpl", main);
  for (const auto& [name, bytes] : includes) files.add(name, bytes);
  cattools::Args args = {"catprep"};
  args.insert(args.end(), options.begin(), options.end());
  args.push_back(dir / "out.cat");
  args.push_back("t.tpl");
  std::ostringstream out, err;
  testing_support::FailingFileSystem file_system(faults);
  cattools::Console console{out, err, file_system};
  ReportLog log;
  TemplateRun result;
  result.exit_code = run(args, console, files, log.sink());
  // Nothing may reach the console but through the sink.
  result.out = log.text + out.str() + err.str();
  result.reports = std::move(log.reports);
  result.output = testing_support::read_file(dir / "out.cat");
  return result;
}

}  // namespace catprep::testing
