#include "catweld/merger.h"

#include <new>
#include <ostream>
#include <streambuf>

#include "catweld/merge.h"
#include "platform/file_io.h"

namespace catweld {
namespace {

// Writes straight to the stream's buffer: an allocation failure inside it reaches the
// caller (a stream would only mark itself bad), and a console that cannot take the text
// does not end the run.
void write_to_console(std::ostream& err, std::string_view text) {
  std::streambuf* buffer = err.rdbuf();
  auto size = static_cast<std::streamsize>(text.size());
  if (buffer != nullptr && buffer->sputn(text.data(), size) == size) buffer->pubsync();
}

// One run's file layer around the merge in memory.
class Run {
 public:
  Run(const cattools::Args& args, cattools::Console& console)
      : args_(args), console_(console), merge_([this](const Report& r) { report(r); }) {}

  int execute() {
    if (args_.size() < 3) return fail({ReportKind::usage});
    if (!read_main()) return 1;
    for (size_t i = 2; i < args_.size(); ++i)
      if (!include(args_[i])) return 1;
    return rewrite();
  }

 private:
  void report(const Report& report) { write_to_console(console_.err, report_text(report)); }
  int fail(const Report& fatal) {
    report(fatal);
    return 1;
  }

  bool read_main() {
    std::string bytes;
    if (!cattools::read_file(args_[1], bytes).ok()) {
      report({ReportKind::catalog_unreadable, args_[1]});
      return false;
    }
    return merge_.read_main(args_[1], std::move(bytes));
  }

  bool include(const std::string& name) {
    std::string bytes;
    if (!cattools::read_file(name, bytes).ok()) {
      report({ReportKind::input_unreadable, name});
      return false;
    }
    merge_.include_sub(name, std::move(bytes));
    return true;
  }

  // The catalog is replaced only when every byte of its new form is safely written.
  int rewrite() {
    cattools::OutputFile file;
    cattools::IoStatus status = cattools::OutputFile::replace(args_[1], console_.faults, file);
    if (status.ok()) {
      merge_.write([&file](std::string_view bytes) { file.write(bytes); });
      status = file.commit();
    }
    if (status.ok()) return 0;
    std::string reason = status.text();
    return fail({ReportKind::output_failed, args_[1], 0, reason});
  }

  const cattools::Args& args_;
  cattools::Console& console_;
  Merge merge_;
};

}  // namespace

int run(const cattools::Args& args, cattools::Console& console) {
  try {
    return Run(args, console).execute();
  } catch (const std::bad_alloc&) {
    write_to_console(console.err, kInsufficientMemory);
    return 1;
  }
}

}  // namespace catweld
