#pragma once
// C printf directives in key texts and their translations. A translation that uses other
// directives than its key text makes the program read its arguments with the wrong types, which
// prints garbage or crashes, so any difference found here is an error.
//
// Texts are bytes with their escapes already decoded; byte positions in messages count from 1
// in that decoded text. The grammar is the C library's:
//   % [n$] flags(- + space # 0 ' I)* [width] [. [precision]] [length] conversion
// where width and precision are digits, `*` or `*m$`, length is one of hh h l ll L q j z Z t,
// and the conversion is one of d i o u x X e E f F g G a A c s p n C S m %.
// `%%` (written exactly so) and `%m` take no argument; each `*` takes an int before the value.
//
// Each argument has a type: the signed integers (d i) and the unsigned ones (o u x X) by length,
// with L and q the same as ll and Z the same as z; floating point (e E f F g G a A), where no
// length and l are double and L, ll and q are long double; char (c) and wide char (lc, C);
// string (s) and wide string (ls, S); pointer (p); the count pointers of n by length. A length
// that means nothing to its conversion (%hf, %lp) makes the directive invalid.
//
// A text is invalid when a `%` does not begin a directive, when it mixes numbered (%1$d, *2$)
// and unnumbered argument references (%m and %% are neither), when its numbers leave a gap
// (%1$s and %3$s without %2$), or when it uses one argument with two types. A numbered text may
// use an argument more than once with one type.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace catcheck {

// Whether `text` holds at least one valid directive, `%%` counted. The text as a whole need not
// be valid: this decides whether a message is a format message at all.
bool has_format_directives(std::string_view text);

struct FormatMismatch {
  std::string message;  // one English sentence without a final full stop or newline
};

// Compares the arguments the directives of `translation` take with those of `key`: the same
// count, and the same type for each argument number. Numbered directives may put them in
// another order, and the count of `%%` may differ.
//
// A key text that is itself invalid is the programmer's to fix, not the translator's; nothing
// is compared then, and the result is std::nullopt.
//
// `may_omit_number` is for the one-form line of a plural, which may say "one file" where the key
// says "%d files". It lets the translation leave out the key's last argument when that is a
// signed or unsigned integer; the arguments before it must still agree. Only the last may go:
// printf ignores surplus arguments at the end, but a skipped one in the middle shifts every
// unnumbered argument after it, and a gap in numbered ones aborts a fortified printf.
std::optional<FormatMismatch> compare_formats(std::string_view key, std::string_view translation,
                                              bool may_omit_number);

namespace format_detail {
struct Reference;
}

// The room that comparisons of translations reuse, so that checking a catalog does not allocate
// for every translation.
class FormatScratch {
 public:
  FormatScratch();
  ~FormatScratch();
  FormatScratch(const FormatScratch&) = delete;
  FormatScratch& operator=(const FormatScratch&) = delete;

 private:
  friend class KeyFormat;
  std::vector<format_detail::Reference> arguments_;
};

// The directives of one key text, read once for the checks of all its translations. It keeps
// views into the text, which must outlive it.
class KeyFormat {
 public:
  explicit KeyFormat(std::string_view key);
  ~KeyFormat();
  KeyFormat(const KeyFormat&) = delete;
  KeyFormat& operator=(const KeyFormat&) = delete;

  // Whether the key text holds a directive: whether its translations are checked at all.
  bool has_directives() const { return has_directives_; }
  // compare_formats of the key text and `translation`.
  std::optional<FormatMismatch> compare(std::string_view translation, bool may_omit_number,
                                        FormatScratch& scratch) const;

 private:
  std::vector<format_detail::Reference> arguments_;
  bool has_directives_ = false;
  bool valid_ = false;
};

}  // namespace catcheck
