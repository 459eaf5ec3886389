#include "catprep/build_date.h"

#include <limits>

namespace catprep {
namespace {

constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

bool parse_epoch(const char* text, std::time_t& seconds) {
  if (text == nullptr || *text == '\0') return false;
  constexpr auto kMax = std::numeric_limits<std::time_t>::max();
  std::time_t value = 0;
  for (const char* p = text; *p != '\0'; ++p) {
    if (*p < '0' || *p > '9') return false;
    int digit = *p - '0';
    if (value > (kMax - digit) / 10) return false;
    value = value * 10 + digit;
  }
  seconds = value;
  return true;
}

std::string two_digits(int value) {
  return std::string(1, static_cast<char>('0' + value / 10)) + static_cast<char>('0' + value % 10);
}

}  // namespace

std::string date_macro_value(const char* source_date_epoch, std::time_t now) {
  std::tm date{};
  std::time_t epoch = 0;
  bool fixed = parse_epoch(source_date_epoch, epoch) && gmtime_r(&epoch, &date) != nullptr;
  if (!fixed && localtime_r(&now, &date) == nullptr) date = std::tm{};
  return std::string("\"(") + kMonths[date.tm_mon] + ' ' + two_digits(date.tm_mday) + ' ' +
         std::to_string(static_cast<long long>(date.tm_year) + 1900) + ") \"";
}

}  // namespace catprep
