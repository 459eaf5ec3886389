#include "catweld/driver.h"

#include <new>
#include <ostream>

#include "catalog/file_kind.h"
#include "catweld/catalog_checks.h"
#include "catweld/merge.h"
#include "platform/file_io.h"

namespace catweld {
namespace {

using cattools::write_console;

constexpr std::string_view kVersionLine = "catweld " CATTOOLS_VERSION "\n";

// One run's file layer around the merge in memory.
class Run {
 public:
  Run(const cattools::Args& args, cattools::Console& console)
      : args_(args), console_(console), merge_([this](const Report& r) { report(r); }) {}

  int execute() {
    if (is_only_argument("--help")) return print(kUsage);
    if (is_only_argument("--version")) return print(kVersionLine);
    if (!arguments_accepted()) return 1;
    if (!open_target() || !read_main()) return 1;
    for (size_t i = 2; i < args_.size(); ++i)
      if (!include(args_[i])) return 1;
    return rewrite();
  }

 private:
  bool is_only_argument(std::string_view option) const {
    return args_.size() == 2 && args_[1] == option;
  }
  // The command line's faults, found before any file is touched: an option anywhere but
  // alone (a file whose name begins with '-' is given as "./-x"), fewer than two files, or a
  // main catalog named like a PO or XLIFF file.
  bool arguments_accepted() {
    for (size_t i = 1; i < args_.size(); ++i)
      if (args_[i].starts_with('-')) return refuse_option(args_[i]);
    if (args_.size() < 3) return refuse({ReportKind::usage});
    if (catalog::has_translation_file_name(args_[1]))
      return refuse({ReportKind::po_or_xliff_name, args_[1]});
    return true;
  }
  bool refuse_option(const std::string& arg) {
    bool known = arg == "--help" || arg == "--version";
    report({known ? ReportKind::option_not_alone : ReportKind::unknown_option, arg});
    return refuse({ReportKind::usage});
  }
  bool refuse(const Report& fatal) {
    report(fatal);
    return false;
  }

  // Standard output carries only what was asked for; failing to write it fails the run.
  int print(std::string_view text) { return write_console(console_.out, text) ? 0 : 1; }
  // A report that cannot be written does not end the run.
  void report(const Report& report) { write_console(console_.err, report_text(report)); }
  int fail(const Report& fatal) {
    report(fatal);
    return 1;
  }

  // The catalog is locked against other runs from before it is read until it is replaced.
  bool open_target() {
    cattools::IoStatus status = cattools::ReplaceTarget::open(args_[1], target_);
    if (status.ok()) return true;
    std::string reason = status.text();
    report({ReportKind::catalog_refused, args_[1], 0, reason});
    return false;
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
    cattools::IoStatus status =
        cattools::OutputFile::replace(std::move(target_), console_.files, file);
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
  cattools::ReplaceTarget target_;
  Merge merge_;
};

}  // namespace

int run(const cattools::Args& args, cattools::Console& console) {
  try {
    return Run(args, console).execute();
  } catch (const std::bad_alloc&) {
    write_console(console.err, kInsufficientMemory);
    return 1;
  }
}

}  // namespace catweld
