#include "config/install_notice.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "frame/host_services.h"
#include "frame/identity.h"
#include "frame/mazovia.h"

namespace kamoria {

namespace {

constexpr const char* kProfileFile = "WtyczkiG.ini";
constexpr const char* kProfileSection = "Kamoria";
constexpr const char* kProfileKey = "Pytaj";
constexpr const char* kNumberFormat = "%d";
constexpr int32_t kProfileRead = 8;
constexpr int32_t kProfileWrite = 9;

constexpr int32_t kQuestionDialog = 1668;
constexpr auto kNoticeFormat = mazovia("Zainstalowano wtyczkę do programu:\n%s");
// The format with its placeholder replaced by the description.
constexpr std::size_t kNoticeSize = kNoticeFormat.length - 2 + kPluginDescriptionSize;

// Only the low half of the answer counts, as a signed number.
int32_t answerOf(int32_t stored) { return static_cast<int16_t>(stored); }

}  // namespace

int32_t profileAccess(const char* file, int32_t operation, const char* section, const char* key,
                      const char* format, ...) {
  va_list values;
  va_start(values, format);
  const int32_t result = host::profileIo(file, operation, section, key, format, values);
  va_end(values);
  return result;
}

int32_t installNotice() {
  int32_t installAnswer = 0;
  const int32_t read =
      profileAccess(kProfileFile, kProfileRead, kProfileSection, kProfileKey, kNumberFormat, &installAnswer);
  if ((read & 0xFFFF) != 0)
    installAnswer = 0;
  else if (answerOf(installAnswer) != 0)
    return 0;

  char description[kPluginDescriptionSize];
  std::memcpy(description, pluginDescription.c_str(), kPluginDescriptionSize);
  char notice[kNoticeSize];
  std::snprintf(notice, sizeof notice, kNoticeFormat.c_str(), description);

  host::askDialog(kQuestionDialog, &installAnswer, 0, notice);
  profileAccess(kProfileFile, kProfileWrite, kProfileSection, kProfileKey, kNumberFormat,
                answerOf(installAnswer));
  return 0;
}

}  // namespace kamoria
