// Feeds arbitrary bytes through the whole merge in memory. The input holds a main catalog
// and any number of sub-catalogs, separated by two record-separator bytes (0x1E 0x1E).

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "catweld/merge.h"

namespace {

std::vector<std::string> split_inputs(std::string_view data) {
  std::vector<std::string> parts;
  for (size_t at = data.find("\x1E\x1E"); at != std::string_view::npos;
       at = data.find("\x1E\x1E")) {
    parts.emplace_back(data.substr(0, at));
    data.remove_prefix(at + 2);
  }
  parts.emplace_back(data);
  return parts;
}

// A rewritten catalog is empty or ends with a line feed, and has no line without one.
void check_output(const std::string& output) {
  if (!output.empty() && output.back() != '\n') std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> inputs =
      split_inputs(std::string_view(reinterpret_cast<const char*>(data), size));
  size_t reports = 0;
  catweld::Merge merge([&reports](const catweld::Report& report) {
    reports += !catweld::report_text(report).empty();
  });
  if (!merge.read_main("main.cat", std::move(inputs[0]))) return 0;
  for (size_t i = 1; i < inputs.size(); ++i) merge.include_sub("sub.cat", std::move(inputs[i]));
  std::string output;
  merge.write([&output](std::string_view bytes) { output.append(bytes); });
  check_output(output);
  return 0;
}
