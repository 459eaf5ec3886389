#include "catalog/plural_forms.h"

#include <algorithm>
#include <array>

#include "catalog/text_routines.h"

namespace catalog {
namespace {

constexpr std::string_view kOneForm = "0";
constexpr std::string_view kNotOne = "(n != 1)";
constexpr std::string_view kAboveOne = "(n > 1)";
constexpr std::string_view kEastSlavic =
    "(n%10==1 && n%100!=11 ? 0 : n%10>=2 && n%10<=4 && (n%100<10 || n%100>=20) ? 1 : 2)";
constexpr std::string_view kWestSlavic = "(n==1) ? 0 : (n>=2 && n<=4) ? 1 : 2";

struct Entry {
  std::string_view code;
  PluralRule rule;
};

// Sorted by code, for the binary search below.
constexpr std::array kRules = {
    Entry{"af", {2, kNotOne}},
    Entry{"am", {2, kAboveOne}},
    Entry{"ar",
          {6,
           "(n==0 ? 0 : n==1 ? 1 : n==2 ? 2 : n%100>=3 && n%100<=10 ? 3 : "
           "n%100>=11 ? 4 : 5)"}},
    Entry{"as", {2, kNotOne}},
    Entry{"az", {2, kNotOne}},
    Entry{"be", {3, kEastSlavic}},
    Entry{"bg", {2, kNotOne}},
    Entry{"bn", {2, kNotOne}},
    Entry{"bo", {1, kOneForm}},
    Entry{"br", {2, kAboveOne}},
    Entry{"bs", {3, kEastSlavic}},
    Entry{"ca", {2, kNotOne}},
    Entry{"cs", {3, kWestSlavic}},
    Entry{"cy", {4, "(n==1) ? 0 : (n==2) ? 1 : (n != 8 && n != 11) ? 2 : 3"}},
    Entry{"da", {2, kNotOne}},
    Entry{"de", {2, kNotOne}},
    Entry{"dz", {1, kOneForm}},
    Entry{"el", {2, kNotOne}},
    Entry{"en", {2, kNotOne}},
    Entry{"eo", {2, kNotOne}},
    Entry{"es", {2, kNotOne}},
    Entry{"et", {2, kNotOne}},
    Entry{"eu", {2, kNotOne}},
    Entry{"fa", {2, kAboveOne}},
    Entry{"fi", {2, kNotOne}},
    Entry{"fo", {2, kNotOne}},
    Entry{"fr", {2, kAboveOne}},
    Entry{"fy", {2, kNotOne}},
    Entry{"ga", {5, "n==1 ? 0 : n==2 ? 1 : (n>2 && n<7) ? 2 :(n>6 && n<11) ? 3 : 4"}},
    Entry{"gd", {4, "(n==1 || n==11) ? 0 : (n==2 || n==12) ? 1 : (n > 2 && n < 20) ? 2 : 3"}},
    Entry{"gl", {2, kNotOne}},
    Entry{"gu", {2, kNotOne}},
    Entry{"he", {2, kNotOne}},
    Entry{"hi", {2, kNotOne}},
    Entry{"hr", {3, kEastSlavic}},
    Entry{"hu", {2, kNotOne}},
    Entry{"hy", {2, kAboveOne}},
    Entry{"id", {1, kOneForm}},
    Entry{"is", {2, "(n%10!=1 || n%100==11)"}},
    Entry{"it", {2, kNotOne}},
    Entry{"ja", {1, kOneForm}},
    Entry{"jv", {1, kOneForm}},
    Entry{"ka", {2, kNotOne}},
    Entry{"kk", {2, kNotOne}},
    Entry{"km", {1, kOneForm}},
    Entry{"kn", {2, kNotOne}},
    Entry{"ko", {1, kOneForm}},
    Entry{"ku", {2, kNotOne}},
    Entry{"ky", {2, kNotOne}},
    Entry{"lb", {2, kNotOne}},
    Entry{"ln", {2, kAboveOne}},
    Entry{"lo", {1, kOneForm}},
    Entry{"lt", {3, "(n%10==1 && n%100!=11 ? 0 : n%10>=2 && (n%100<10 || n%100>=20) ? 1 : 2)"}},
    Entry{"lv", {3, "(n%10==1 && n%100!=11 ? 0 : n != 0 ? 1 : 2)"}},
    Entry{"mg", {2, kAboveOne}},
    Entry{"mk", {2, "(n % 10 == 1 && n % 100 != 11) ? 0 : 1"}},
    Entry{"ml", {2, kNotOne}},
    Entry{"mn", {2, kNotOne}},
    Entry{"mr", {2, kNotOne}},
    Entry{"ms", {1, kOneForm}},
    Entry{"mt",
          {4,
           "(n==1 ? 0 : n==0 || ( n%100>1 && n%100<11) ? 1 : "
           "(n%100>10 && n%100<20 ) ? 2 : 3)"}},
    Entry{"my", {1, kOneForm}},
    Entry{"nb", {2, kNotOne}},
    Entry{"ne", {2, kNotOne}},
    Entry{"nl", {2, kNotOne}},
    Entry{"nn", {2, kNotOne}},
    Entry{"no", {2, kNotOne}},
    Entry{"oc", {2, kAboveOne}},
    Entry{"or", {2, kNotOne}},
    Entry{"pa", {2, kNotOne}},
    Entry{"pl", {3, "(n==1 ? 0 : n%10>=2 && n%10<=4 && (n%100<10 || n%100>=20) ? 1 : 2)"}},
    Entry{"ps", {2, kNotOne}},
    Entry{"pt", {2, kNotOne}},
    Entry{"ro", {3, "(n==1 ? 0 : (n==0 || (n%100 > 0 && n%100 < 20)) ? 1 : 2)"}},
    Entry{"ru", {3, kEastSlavic}},
    Entry{"si", {2, kNotOne}},
    Entry{"sk", {3, kWestSlavic}},
    Entry{"sl", {4, "(n%100==1 ? 0 : n%100==2 ? 1 : n%100==3 || n%100==4 ? 2 : 3)"}},
    Entry{"so", {2, kNotOne}},
    Entry{"sq", {2, kNotOne}},
    Entry{"sr", {3, kEastSlavic}},
    Entry{"sv", {2, kNotOne}},
    Entry{"sw", {2, kNotOne}},
    Entry{"ta", {2, kNotOne}},
    Entry{"te", {2, kNotOne}},
    Entry{"tg", {2, kNotOne}},
    Entry{"th", {1, kOneForm}},
    Entry{"ti", {2, kAboveOne}},
    Entry{"tk", {2, kNotOne}},
    Entry{"tl", {2, kAboveOne}},
    Entry{"tr", {2, kNotOne}},
    Entry{"tt", {1, kOneForm}},
    Entry{"ug", {2, kNotOne}},
    Entry{"uk", {3, kEastSlavic}},
    Entry{"ur", {2, kNotOne}},
    Entry{"uz", {2, kNotOne}},
    Entry{"vi", {1, kOneForm}},
    Entry{"wa", {2, kAboveOne}},
    Entry{"yo", {1, kOneForm}},
    Entry{"zh", {1, kOneForm}},
    Entry{"zu", {2, kNotOne}},
};

constexpr bool is_sorted_by_code() {
  for (size_t i = 1; i < kRules.size(); ++i)
    if (!(kRules[i - 1].code < kRules[i].code)) return false;
  return true;
}
static_assert(is_sorted_by_code(), "plural rules must be sorted by code");

}  // namespace

PluralRule plural_rule(std::string_view code) {
  char lower[2] = {code.size() > 0 ? ascii_lower(code[0]) : '\0',
                   code.size() > 1 ? ascii_lower(code[1]) : '\0'};
  std::string_view language(lower, std::min<size_t>(code.size(), 2));
  auto found =
      std::lower_bound(kRules.begin(), kRules.end(), language,
                       [](const Entry& entry, std::string_view key) { return entry.code < key; });
  if (found != kRules.end() && found->code == language) return found->rule;
  return {2, kNotOne};
}

}  // namespace catalog
