#include "catprep/source_reader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <utility>

namespace catprep {
namespace {

// A byte read as text: everything from the first 0x1A on is past the end.
void cut_at_end_of_text(std::string& bytes) {
  size_t end = bytes.find('\x1a');
  if (end != std::string::npos) bytes.resize(end);
}

bool is_stored(unsigned char c) {
  return c == '\t' || c >= 0x20;
}

constexpr std::array<bool, 256> plain_table() {
  std::array<bool, 256> table{};
  for (int c = 0; c < 256; ++c) table[c] = (c == '\t' || c >= 0x20) && c != '\\';
  return table;
}
constexpr std::array<bool, 256> kPlain = plain_table();

// Whether the eight bytes at `p` are all plain, tested as one word: no byte is below 0x20 (a
// tab, too, sends the word to the byte loop) and none is a backslash. Both word tests are exact
// as to whether any byte qualifies, though not as to which.
bool all_plain_8(const char* p) {
  constexpr uint64_t ones = 0x0101010101010101u, highs = 0x8080808080808080u;
  uint64_t x;
  std::memcpy(&x, p, sizeof x);
  uint64_t below_space = (x - ones * 0x20) & ~x & highs;
  uint64_t y = x ^ (ones * '\\');
  uint64_t backslash = (y - ones) & ~y & highs;
  return (below_space | backslash) == 0;
}

// Copies the run of bytes from `pos` on that are stored as they stand (every stored byte but
// the backslash), while the line has room; the caller deals with the byte that ends the run.
void copy_plain_run(const char* bytes, size_t size, size_t& pos, char* buffer, size_t& n) {
  size_t limit = std::min(size - pos, kMaxLine - std::min(n, kMaxLine));
  const char* from = bytes + pos;
  size_t k = 0;
  while (k + 8 <= limit && all_plain_8(from + k)) k += 8;
  while (k < limit && kPlain[static_cast<unsigned char>(from[k])]) ++k;
  std::memcpy(buffer + n, from, k);
  pos += k;
  n += k;
}

}  // namespace

void remove_comments(char* line, bool& in_comment) {
  bool in_double = false, in_single = false;
  for (size_t p = 0; line[p] != '\0'; ++p) {
    char c = line[p];
    if (c == '\\') {
      if ((in_double || in_single) && line[p + 1] != '\0') ++p;
    } else if (c == '\'') {
      if (!in_double && !in_comment) in_single = !in_single;
    } else if (c == '"') {
      if (!in_single && !in_comment) in_double = !in_double;
    }
    bool outside = !in_double && !in_single && !in_comment;
    if (outside && line[p] == '/' && line[p + 1] == '/') {
      line[p] = '\0';
      return;
    }
    if (outside && line[p] == '/' && line[p + 1] == '*') {
      in_comment = true;
    } else if (in_comment && line[p] == '*' && line[p + 1] == '/') {
      in_comment = false;
      line[p] = line[p + 1] = ' ';
    }
    if (in_comment) line[p] = ' ';
  }
}

SourceReader::SourceReader(SourceFiles& files, Diagnostics& diagnostics)
    : files_(files), diagnostics_(diagnostics), levels_(1) {}

cattools::IoStatus SourceReader::open_input(SourceFiles::Identity& identity) {
  cattools::IoStatus status = files_.read_input(levels_[0].name, levels_[0].bytes, identity);
  cut_at_end_of_text(levels_[0].bytes);
  return status;
}

void SourceReader::push_include(const std::string& name, std::string bytes) {
  diagnostics_.push_chain_name(name);
  cut_at_end_of_text(bytes);
  levels_[depth_].include_line = line_no_;
  levels_.push_back(Level{name, std::move(bytes)});
  ++depth_;
  line_no_ = 0;
}

bool SourceReader::read_line(char* buffer) {
  ++line_no_;
  if (depth_ == kPastInput) return false;
  Level& level = levels_[depth_];
  size_t n = 0;
  bool pending = false;
  if (level.carried != kNoByte)
    buffer[n++] = static_cast<char>(std::exchange(level.carried, kNoByte));
  const char* bytes = level.bytes.data();
  size_t size = level.bytes.size();
  for (;;) {
    if (!pending) copy_plain_run(bytes, size, level.pos, buffer, n);
    if (n >= kMaxLine) {
      diagnostics_.report_error(ReportKind::line_too_long);
      buffer[kMaxLine] = '\0';
      return true;
    }
    if (level.pos >= size) return end_of_file(buffer, n, pending);
    unsigned char c = static_cast<unsigned char>(bytes[level.pos++]);
    if (c == '\\' && !pending) {
      pending = true;
    } else if (c == '\n') {
      if (!pending) break;
      ++line_no_;
      pending = false;
    } else if (is_stored(c)) {
      if (pending) {
        buffer[n++] = '\\';
        pending = false;
        if (n == kMaxLine) {
          level.carried = c;
          continue;
        }
      }
      buffer[n++] = static_cast<char>(c);
    }
  }
  buffer[n] = '\0';
  return true;
}

bool SourceReader::end_of_file(char* buffer, size_t stored, bool pending_backslash) {
  if (pending_backslash) diagnostics_.report_error(ReportKind::stray_backslash);
  if (in_comment_) diagnostics_.report_error(ReportKind::comment_not_closed);
  in_comment_ = false;
  if (stored > 0) {
    buffer[stored] = '\0';
    return true;
  }
  diagnostics_.pop_chain_name();
  if (depth_ == 0) {
    depth_ = kPastInput;
    levels_[0].bytes = std::string();
    return false;
  }
  levels_.pop_back();
  --depth_;
  line_no_ = levels_[depth_].include_line;
  buffer[0] = '\0';
  return true;
}

}  // namespace catprep
