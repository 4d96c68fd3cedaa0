// What the host answers to the plug-in's load checks.
#include <cstdio>
#include <cstring>

#include "services.h"

namespace weltor {

namespace {

constexpr uint32_t kUnreadableDate = 0x7FFFFFFF;
constexpr const char* kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

bool isDigit(char c) { return c >= '0' && c <= '9'; }

int daysIn(int month, int year) {
  constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

// "Mmm dd yyyy" as the compiler writes build dates: the day takes two
// places, blank-padded ("Sep  1 2023") or not ("Sep 01 2023").
uint32_t dateValue(const char* text) {
  if (std::strlen(text) != 11 || text[3] != ' ' || text[6] != ' ') return kUnreadableDate;
  int month = 0;
  for (int m = 0; m < 12; ++m)
    if (std::strncmp(text, kMonths[m], 3) == 0) month = m + 1;
  if (month == 0) return kUnreadableDate;
  const char tens = text[4] == ' ' ? '0' : text[4];
  if (!isDigit(tens) || !isDigit(text[5])) return kUnreadableDate;
  const int day = (tens - '0') * 10 + (text[5] - '0');
  int year = 0;
  for (int i = 7; i < 11; ++i) {
    if (!isDigit(text[i])) return kUnreadableDate;
    year = year * 10 + (text[i] - '0');
  }
  if (day < 1 || day > daysIn(month, year)) return kUnreadableDate;
  // Ordered like the calendar and well below the unreadable value.
  return static_cast<uint32_t>(year * 10000 + month * 100 + day);
}

}  // namespace

void resetChecks(HostState& host) {
  host.checks.apiVersion = 112;
  std::snprintf(host.checks.buildDate, sizeof host.checks.buildDate, "%s", "Mar 14 2024");
  host.checks.refusePlugin = false;
  host.checks.refusalReason[0] = '\0';
}

uint32_t buildDateValue(const char* date) {
  return dateValue(date != nullptr ? date : state().checks.buildDate);
}

int32_t hostCheckPlugin(void*, char* reason, int32_t reasonSize) {
  const CheckState& checks = state().checks;
  if (!checks.refusePlugin) return 0;
  if (reason != nullptr && reasonSize > 0)
    std::snprintf(reason, static_cast<std::size_t>(reasonSize), "%s", checks.refusalReason);
  return 1;
}

int32_t hostApiVersion() { return state().checks.apiVersion; }

}  // namespace weltor
