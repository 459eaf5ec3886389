#include "catcheck/format_directives.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace catcheck {
namespace format_detail {

enum class Kind : uint8_t { signed_int, unsigned_int, floating, character, string, pointer, count };

// Lengths as the C library reads them: L and q are ll, Z is z. For floating point, none and l
// are double and ll is long double.
enum class Length : uint8_t { none, hh, h, l, ll, j, z, t };

struct ArgType {
  Kind kind;
  Length length;
  bool operator==(const ArgType&) const = default;
};

constexpr ArgType kInt{Kind::signed_int, Length::none};

enum class Role : uint8_t { value, width, precision };

// One use of an argument by a directive.
struct Reference {
  size_t number;  // as written, from 1; 0 for an unnumbered reference
  ArgType type;
  Role role;
  std::string_view directive;  // the whole directive, as written
};

}  // namespace format_detail
namespace {

using format_detail::ArgType;
using format_detail::Kind;
using format_detail::kInt;
using format_detail::Length;
using format_detail::Reference;
using format_detail::Role;

// A text's arguments in the order printf reads them, or why it has none that can be trusted.
struct Format {
  std::vector<Reference> arguments;
  std::string problem;  // empty when the text is valid; else a predicate ("mixes ...")
};

struct Cursor {
  std::string_view text;
  size_t pos;

  char peek() const { return pos < text.size() ? text[pos] : '\0'; }
};

bool take(Cursor& at, char byte) {
  if (at.pos >= at.text.size() || at.text[at.pos] != byte) return false;
  ++at.pos;
  return true;
}

bool is_digit(char byte) {
  return byte >= '0' && byte <= '9';
}

// Reads a run of digits. Values beyond any real argument count saturate rather than overflow.
size_t read_digits(Cursor& at) {
  constexpr size_t kBeyond = 100'000'000;
  size_t value = 0;
  for (; is_digit(at.peek()); ++at.pos)
    value = std::min(value * 10 + static_cast<size_t>(at.peek() - '0'), kBeyond);
  return value;
}

// Reads an argument number `n$`. Without one the cursor stays and the result is nullopt; `0$`
// gives 0, which numbers no argument.
std::optional<size_t> read_numbered(Cursor& at) {
  Cursor ahead = at;
  if (!is_digit(ahead.peek())) return std::nullopt;
  const size_t number = read_digits(ahead);
  if (!take(ahead, '$')) return std::nullopt;
  at = ahead;
  return number;
}

void skip_flags(Cursor& at) {
  constexpr std::string_view kFlags = "-+ #0'I";
  while (at.pos < at.text.size() && kFlags.find(at.text[at.pos]) != std::string_view::npos)
    ++at.pos;
}

// Reads a width or precision: digits, none, `*` or `*m$`; a star takes an int argument.
bool read_field(Cursor& at, Role role, std::vector<Reference>& refs) {
  if (!take(at, '*')) {
    read_digits(at);
    return true;
  }
  const std::optional<size_t> number = read_numbered(at);
  if (number == size_t{0}) return false;
  refs.push_back({number.value_or(0), kInt, role, {}});
  return true;
}

bool read_fields(Cursor& at, std::vector<Reference>& refs) {
  skip_flags(at);
  if (!read_field(at, Role::width, refs)) return false;
  return !take(at, '.') || read_field(at, Role::precision, refs);
}

Length read_length(Cursor& at) {
  if (take(at, 'h')) return take(at, 'h') ? Length::hh : Length::h;
  if (take(at, 'l')) return take(at, 'l') ? Length::ll : Length::l;
  constexpr std::string_view kSingles = "LqjzZt";
  constexpr Length kLengths[] = {Length::ll, Length::ll, Length::j,
                                 Length::z,  Length::z,  Length::t};
  const size_t found = kSingles.find(at.peek());
  if (at.pos >= at.text.size() || found == std::string_view::npos) return Length::none;
  ++at.pos;
  return kLengths[found];
}

std::optional<ArgType> floating(Length length) {
  if (length == Length::none || length == Length::l) return ArgType{Kind::floating, Length::none};
  if (length == Length::ll) return ArgType{Kind::floating, Length::ll};
  return std::nullopt;
}

// c and s: l makes them wide.
std::optional<ArgType> narrow_or_wide(Kind kind, Length length) {
  if (length != Length::none && length != Length::l) return std::nullopt;
  return ArgType{kind, length};
}

// C, S and p take no length.
std::optional<ArgType> without_length(ArgType type, Length length) {
  if (length != Length::none) return std::nullopt;
  return type;
}

// The type of the argument `conversion` takes with `length`; nullopt when they make no
// directive. `%%` and `%m` are not handled here.
std::optional<ArgType> argument_type(char conversion, Length length) {
  switch (conversion) {
    case 'd':
    case 'i':
      return ArgType{Kind::signed_int, length};
    case 'o':
    case 'u':
    case 'x':
    case 'X':
      return ArgType{Kind::unsigned_int, length};
    case 'n':
      return ArgType{Kind::count, length};
    case 'e':
    case 'E':
    case 'f':
    case 'F':
    case 'g':
    case 'G':
    case 'a':
    case 'A':
      return floating(length);
    case 'c':
      return narrow_or_wide(Kind::character, length);
    case 's':
      return narrow_or_wide(Kind::string, length);
    case 'C':
      return without_length({Kind::character, Length::l}, length);
    case 'S':
      return without_length({Kind::string, Length::l}, length);
    case 'p':
      return without_length({Kind::pointer, Length::none}, length);
    default:
      return std::nullopt;
  }
}

// Reads length and conversion; the value's argument, if it takes one, joins `refs` last, after
// those of its stars, as printf reads them.
bool read_conversion(Cursor& at, std::optional<size_t> number, std::vector<Reference>& refs) {
  const Length length = read_length(at);
  if (at.peek() == 'm' && length == Length::none && !number) {
    ++at.pos;
    return true;
  }
  const std::optional<ArgType> type = argument_type(at.peek(), length);
  if (!type) return false;
  ++at.pos;
  refs.push_back({number.value_or(0), *type, Role::value, {}});
  return true;
}

// How far the directive whose `%` is at `start` reaches. A valid one ends before `end`; for an
// invalid one `end` is its offending byte, or the text's size when the text ends inside it.
struct Scan {
  size_t end;
  bool valid;
};

// Scans the directive at `start`, adding the arguments it takes to `refs`.
Scan scan_directive(std::string_view text, size_t start, std::vector<Reference>& refs) {
  Cursor at{text, start + 1};
  if (take(at, '%')) return {at.pos, true};
  const size_t first = refs.size();
  const std::optional<size_t> number = read_numbered(at);
  if (number == size_t{0} || !read_fields(at, refs) || !read_conversion(at, number, refs)) {
    refs.resize(first);
    return {at.pos, false};
  }
  for (size_t i = first; i < refs.size(); ++i)
    refs[i].directive = text.substr(start, at.pos - start);
  return {at.pos, true};
}

std::string shown_byte(char byte) {
  const auto value = static_cast<unsigned char>(byte);
  if (value >= 0x20 && value < 0x7F) return std::string(1, byte);
  constexpr char kHex[] = "0123456789ABCDEF";
  return {'\\', 'x', kHex[value >> 4], kHex[value & 0xF]};
}

std::string invalid_directive(std::string_view text, size_t start, size_t fault) {
  std::string shown(text.substr(start, fault - start));
  const bool unfinished = fault >= text.size();
  if (!unfinished) shown += shown_byte(text[fault]);
  return std::string(unfinished ? "has an unfinished" : "has an invalid") + " directive \"" +
         shown + "\" at byte " + std::to_string(start + 1);
}

std::string spelled(const Reference& ref) {
  std::string directive(ref.directive);
  if (ref.role == Role::width) return "the width of " + directive;
  if (ref.role == Role::precision) return "the precision of " + directive;
  return directive;
}

Format failed(std::string problem) {
  return {{}, std::move(problem)};
}

std::string gap(size_t highest, size_t missing) {
  return "refers to argument " + std::to_string(highest) + " but not to argument " +
         std::to_string(missing);
}

// Places numbered references by their numbers. The table holds one slot per reference: a number
// beyond that leaves a gap below it for certain, so no text can make the table larger.
Format by_number(const std::vector<Reference>& refs) {
  std::vector<std::optional<Reference>> table(refs.size());
  size_t highest = 0;
  for (const Reference& ref : refs) {
    highest = std::max(highest, ref.number);
    if (ref.number > table.size()) continue;
    std::optional<Reference>& slot = table[ref.number - 1];
    if (slot && slot->type != ref.type)
      return failed("uses argument " + std::to_string(ref.number) + " both as " + spelled(*slot) +
                    " and as " + spelled(ref));
    if (!slot) slot = ref;
  }
  const auto hole = std::find(table.begin(), table.end(), std::nullopt);
  const auto missing = static_cast<size_t>(hole - table.begin()) + 1;
  if (missing < highest) return failed(gap(highest, missing));
  Format format;
  for (size_t i = 0; i < highest; ++i) format.arguments.push_back(*table[i]);
  return format;
}

Format arrange(std::vector<Reference> refs) {
  const auto numbered =
      std::count_if(refs.begin(), refs.end(), [](const Reference& ref) { return ref.number != 0; });
  if (numbered == 0) return {std::move(refs), {}};
  if (static_cast<size_t>(numbered) != refs.size())
    return failed("mixes numbered and unnumbered directives");
  return by_number(refs);
}

// Reads the arguments of `text` into `arguments`, whose room is reused; returns why they cannot
// be trusted, or an empty text.
std::string read_arguments(std::string_view text, std::vector<Reference>& arguments) {
  arguments.clear();
  for (size_t pos = text.find('%'); pos != std::string_view::npos; pos = text.find('%', pos)) {
    const Scan scan = scan_directive(text, pos, arguments);
    if (!scan.valid) return invalid_directive(text, pos, scan.end);
    pos = scan.end;
  }
  const bool numbered = std::any_of(arguments.begin(), arguments.end(),
                                    [](const Reference& ref) { return ref.number != 0; });
  if (!numbered) return {};
  Format format = arrange(arguments);
  arguments = std::move(format.arguments);
  return format.problem;
}

bool is_integer(const Reference& ref) {
  return ref.type.kind == Kind::signed_int || ref.type.kind == Kind::unsigned_int;
}

std::string arguments(size_t count) {
  return std::to_string(count) + (count == 1 ? " argument" : " arguments");
}

std::optional<FormatMismatch> different_counts(const std::vector<Reference>& key,
                                               const std::vector<Reference>& translation,
                                               bool may_omit_number) {
  if (translation.size() + 1 == key.size()) {
    if (may_omit_number && is_integer(key.back())) return std::nullopt;
    return FormatMismatch{"the translation leaves out " + spelled(key.back())};
  }
  return FormatMismatch{"the translation has " + arguments(translation.size()) +
                        " where the key text has " + std::to_string(key.size())};
}

std::optional<FormatMismatch> compare_arguments(const std::vector<Reference>& key,
                                                const std::vector<Reference>& translation,
                                                bool may_omit_number) {
  const size_t common = std::min(key.size(), translation.size());
  for (size_t i = 0; i < common; ++i)
    if (key[i].type != translation[i].type)
      return FormatMismatch{"the key text has " + spelled(key[i]) + " where the translation has " +
                            spelled(translation[i])};
  if (key.size() == translation.size()) return std::nullopt;
  return different_counts(key, translation, may_omit_number);
}

}  // namespace

bool has_format_directives(std::string_view text) {
  std::vector<Reference> scratch;
  for (size_t pos = text.find('%'); pos != std::string_view::npos; pos = text.find('%', pos + 1))
    if (scan_directive(text, pos, scratch).valid) return true;
  return false;
}

KeyFormat::KeyFormat(std::string_view key) : has_directives_(has_format_directives(key)) {
  if (has_directives_) valid_ = read_arguments(key, arguments_).empty();
}

KeyFormat::~KeyFormat() = default;

std::optional<FormatMismatch> KeyFormat::compare(std::string_view translation, bool may_omit_number,
                                                 FormatScratch& scratch) const {
  if (!valid_) return std::nullopt;
  std::string problem = read_arguments(translation, scratch.arguments_);
  if (!problem.empty()) return FormatMismatch{"the translation " + problem};
  return compare_arguments(arguments_, scratch.arguments_, may_omit_number);
}

FormatScratch::FormatScratch() = default;
FormatScratch::~FormatScratch() = default;

std::optional<FormatMismatch> compare_formats(std::string_view key, std::string_view translation,
                                              bool may_omit_number) {
  FormatScratch scratch;
  return KeyFormat(key).compare(translation, may_omit_number, scratch);
}

}  // namespace catcheck
