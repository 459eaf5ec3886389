// Runs whole templates from arbitrary bytes: the first byte selects the options, the rest up to
// the first NUL is the template "t.tpl", and what follows the NUL is the file "inc.h" that the
// template may include (as may the included file, also itself). The output goes to a file in a
// directory of its own, since a device is no output the tool replaces.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <ostream>
#include <string>

#include <unistd.h>

#include "catprep/driver.h"
#include "catprep/source_files.h"

namespace {

// The path lives as long as the process, never destroyed, so that the exit handler that removes
// the file still has it after the static destructors have run.
const std::string& output_path() {
  static const std::string& path = *new std::string([] {
    const char* base = std::getenv("TMPDIR");
    std::string pattern =
        std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/catprep_fuzz.XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    std::atexit([] {
      ::unlink(output_path().c_str());
      ::rmdir(output_path().substr(0, output_path().rfind('/')).c_str());
    });
    return pattern + "/out.cat";
  }());
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  size_t split = bytes.find('\0');
  catprep::MemoryFiles files;
  files.add("t.tpl", bytes.substr(0, split));
  files.add("inc.h", split == std::string::npos ? std::string() : bytes.substr(split + 1));
  cattools::Args args = {"catprep"};
  if (data[0] & 1) args.push_back("-r");
  if (data[0] & 2) args.push_back("-s");
  if (data[0] & 4) args.push_back("-DA=\"x,y\"");
  if (data[0] & 8)
    args.push_back(
        "-DF=a\x01"
        "b");
  args.push_back(output_path());
  args.push_back("t.tpl");
  std::ostream discard(nullptr);
  cattools::Console console{discard, discard};
  catprep::run(args, console, files);
  return 0;
}
