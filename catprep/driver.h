#pragma once

#include "catprep/reports.h"
#include "catprep/source_files.h"
#include "platform/console.h"

namespace catprep {

// One run of the tool: `args` as the command line gives them, program name first.
// Returns the exit code.
int run(const cattools::Args& args, cattools::Console& console);

// The same, with the template and its included files read from `files`.
int run(const cattools::Args& args, cattools::Console& console, SourceFiles& files);

// The same, with every report handed to `sink` instead of printed on `console.out`.
int run(const cattools::Args& args, cattools::Console& console, SourceFiles& files,
        const ReportSink& sink);

}  // namespace catprep
