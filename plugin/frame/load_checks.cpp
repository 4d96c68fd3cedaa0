#include "frame/load_checks.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "frame/binding.h"
#include "frame/host_services.h"
#include "frame/identity.h"
#include "frame/mazovia.h"
#include "frame/table_records.h"

namespace kamoria {

uint32_t missingFeatureMask = 0xFFFFFFFF;
RecordSizeCheck recordSizeChecks[3] = {
    {kItemTable, static_cast<int32_t>(kItemRecordSize), 0, "k9", nullptr},
    {kWarehouseTable, static_cast<int32_t>(kWarehouseRecordSize), 0, "w3", nullptr},
    {kSuspendedSettingTable, static_cast<int32_t>(kSuspendedSettingRecordSize), 0, "Tspr_prop", nullptr},
};
RecordSizeCheck* mismatchList = nullptr;
char reportText[kReportTextSize] = {};

namespace {

inline constexpr const char* kRequiredBuildDate = "Sep  1 2023";

inline constexpr auto kStopTitle = mazovia("STOP!!!");
inline constexpr int32_t kStopBoxId = 15000;
inline constexpr int32_t kStopBoxStyle = 0xF001;
inline constexpr int32_t kStopBoxHelpId = 0x6E2E;

inline constexpr auto kFeaturesText =
    mazovia("Program nie obsługuje cech 0x%08X,\nktóre są niezbędne dla modułu '%s'.");

inline constexpr auto kOneFunction = mazovia("funkcję o numerze %hu");
inline constexpr auto kManyFunctions = mazovia("funkcje o numerach");
inline constexpr auto kOneOfManyFunctions = mazovia(" %hu,");
inline constexpr auto kMissingFunctionsText = mazovia(
    "Wtyczka \"%s\" potrzebuje zaimportować\n%s z modułu głównego,\njednak moduł główny %s nie "
    "posiada. Aby naprawić tę sytuację\nzainstaluj aktualizację programu oraz wtyczki.\n\n"
    "WTYCZKA NIE ZOSTANIE ZAŁADOWANA!!!\n");
inline constexpr auto kItOne = mazovia("jej");
inline constexpr auto kItMany = mazovia("ich");

inline constexpr auto kRecordSizesHead = mazovia(
    "Rozmiary rekordów niektórych tabel nie zgadzają się\nmiędzy programem a wtyczką '%s' "
    "(moduł '%s'):\n\n\x01tl18l33\x01TABELA\tWE WTYCZCE\tW PROGRAMIE\n");
inline constexpr auto kRecordSizesRow = mazovia("\x01tp25p40\x01%s\t%d\t%s\n");
inline constexpr auto kNoTable = mazovia("brak");
inline constexpr auto kRecordSizesTail = mazovia("\nModuł \x02%s\x01\nNIE zostanie załadowany!");

inline constexpr auto kDifferentVersionsText = mazovia(
    "Moduł \"%s\" i program występują w różnych wersjach!\n\nZostał zakualizowany tylko "
    "program albo tylko moduł,\na nie oba jednocześnie! Aby naprawić tę sytuację\n"
    "zainstaluj aktualizację programu wraz z modułem \"%s\".\n\nMODUŁ NIE ZOSTANIE "
    "ZAŁADOWANY!!!\n");
inline constexpr auto kNotInitialisedText =
    mazovia("Moduł \"%s\" nie został poprawnie zainicjowany,\nwięc NIE BĘDZIE AKTYWNY!");
inline constexpr auto kAsIs = mazovia("%s");

// Appends to a text that holds `used` bytes, never past its end.
void appendFormatted(char* text, std::size_t size, std::size_t& used, const char* format, ...) {
  if (used + 1 >= size) return;
  std::va_list arguments;
  va_start(arguments, format);
  const int written = std::vsnprintf(text + used, size - used, format, arguments);
  va_end(arguments);
  if (written < 0) return;
  used += static_cast<std::size_t>(written);
  if (used > size - 1) used = size - 1;
}

void showStopBox(const char* format, const char* first, const char* second = nullptr) {
  host::alertBox(kStopBoxId, kStopTitle, format, kStopBoxStyle, kStopBoxHelpId, first, second);
}

int32_t checkFeatures() {
  // Without a feature function nothing is known about the host's features.
  if (featureCheck == nullptr) {
    missingFeatureMask = 0xFFFFFFFF;
    return -1;
  }
  missingFeatureMask = static_cast<uint32_t>(featureCheck(1, 1)) & ~uint32_t{1};
  return missingFeatureMask == 0 ? 0 : -1;
}

// A host that cannot tell its build date is not one the plug-in knows. No
// date comes before the required one's value, so an empty cell's 0, or a 0
// the service answers, would otherwise pass as the oldest possible date.
int32_t checkBuildDate() {
  if (host::cells.buildDateValue == nullptr) return -1;
  const uint32_t required = host::buildDateValue(kRequiredBuildDate);
  const uint32_t own = host::buildDateValue(nullptr);
  if (required == kUnreadableDate || required == 0 || own < required) return -1;
  return 0;
}

// An empty cell's 0 would read as the host's approval.
int32_t checkApproval() {
  if (host::cells.hostCheckPlugin == nullptr) return -1;
  return host::hostCheckPlugin(ownModule, nullptr, 0) == 0 ? 0 : -1;
}

int32_t checkApiVersion() {
  if (host::cells.hostApiVersion == nullptr) return -1;
  return host::hostApiVersion() == kRequiredApiVersion ? 0 : -1;
}

bool isInMismatchList(const RecordSizeCheck* check) {
  for (const RecordSizeCheck* listed = mismatchList; listed != nullptr; listed = listed->next)
    if (listed == check) return true;
  return false;
}

void addToMismatchList(RecordSizeCheck* check) {
  if (isInMismatchList(check)) return;
  RecordSizeCheck** end = &mismatchList;
  while (*end != nullptr) end = &(*end)->next;
  check->next = nullptr;
  *end = check;
}

int32_t mismatchCount() {
  int32_t count = 0;
  for (const RecordSizeCheck* listed = mismatchList; listed != nullptr; listed = listed->next)
    ++count;
  return count;
}

int compareDescending(const void* left, const void* right) {
  const auto a = *static_cast<const uint16_t*>(left);
  const auto b = *static_cast<const uint16_t*>(right);
  return a < b ? 1 : (a > b ? -1 : 0);
}

// "funkcje o numerach 1, 2, 3": the listed numbers in ascending order.
void writeMissingNumbers(char* listText, std::size_t size, int32_t count) {
  std::size_t used = 0;
  listText[0] = '\0';
  if (count == 1) {
    appendFormatted(listText, size, used, kOneFunction, missingOrdinals.list[0]);
    return;
  }
  constexpr int32_t kListed = sizeof missingOrdinals.list / sizeof missingOrdinals.list[0];
  const int32_t listed = count < kListed ? count : kListed;
  uint16_t numbers[kListed] = {};
  for (int32_t i = 0; i < listed; ++i) numbers[i] = missingOrdinals.list[i];
  std::qsort(numbers, static_cast<std::size_t>(listed), sizeof numbers[0], &compareDescending);
  appendFormatted(listText, size, used, kManyFunctions);
  for (int32_t i = listed - 1; i >= 0; --i)
    appendFormatted(listText, size, used, kOneOfManyFunctions, numbers[i]);
  if (used > 0 && listText[used - 1] == ',') listText[--used] = '\0';
}

}  // namespace

int32_t checkRecordSizes() {
  for (RecordSizeCheck& check : recordSizeChecks) {
    const TableRef* table = host::getTable(check.tableId);
    check.actualSize = table != nullptr ? host::recordSize(table) : 0;
    if (check.actualSize != check.expectedSize) addToMismatchList(&check);
  }
  return mismatchCount();
}

int32_t runLoadChecks() {
  if (checkFeatures() != 0) return -1;
  if (checkBuildDate() != 0) return -1;
  if (checkApproval() != 0) return -1;
  if (checkApiVersion() != 0) return -1;
  if (checkRecordSizes() != 0) return -1;
  return 0;
}

int32_t writeMissingFunctionText() {
  const int32_t count = missingOrdinals.count;
  reportText[0] = '\0';
  if (count <= 0) return 0;
  char listText[kListTextSize];
  writeMissingNumbers(listText, sizeof listText, count);
  std::size_t used = 0;
  appendFormatted(reportText, sizeof reportText, used, kMissingFunctionsText,
                  pluginDescription.c_str(), listText, count == 1 ? kItOne.c_str() : kItMany.c_str());
  return count;
}

int32_t writeRecordSizeText() {
  reportText[0] = '\0';
  if (mismatchList == nullptr) return 0;
  std::size_t used = 0;
  appendFormatted(reportText, sizeof reportText, used, kRecordSizesHead, pluginDescription.c_str(),
                  pluginFileName);
  for (const RecordSizeCheck* check = mismatchList; check != nullptr; check = check->next) {
    char actual[16];
    if (check->actualSize == 0)
      std::snprintf(actual, sizeof actual, "%s", kNoTable.c_str());
    else
      std::snprintf(actual, sizeof actual, "%d", static_cast<int>(check->actualSize));
    appendFormatted(reportText, sizeof reportText, used, kRecordSizesRow, check->tableName,
                    static_cast<int>(check->expectedSize), actual);
  }
  appendFormatted(reportText, sizeof reportText, used, kRecordSizesTail, pluginFileName);
  return -1;
}

void showFailureReport() {
  if (featureCheck != nullptr) featureCheck(1, -1);
  reportText[0] = '\0';

  if (missingFeatureMask != 0) {
    std::size_t used = 0;
    appendFormatted(reportText, sizeof reportText, used, kFeaturesText, missingFeatureMask,
                    pluginDescription.c_str());
    showStopBox(kAsIs, reportText);
    return;
  }
  if (writeMissingFunctionText() != 0) {
    showStopBox(kAsIs, reportText);
    return;
  }
  if (writeRecordSizeText() != 0) {
    showStopBox(kAsIs, reportText);
    return;
  }
  if (host::hostCheckPlugin(ownModule, reportText, static_cast<int32_t>(sizeof reportText)) != 0) {
    // The host's reason is shown as it left it, but never read past the buffer.
    reportText[sizeof reportText - 1] = '\0';
    showStopBox(kAsIs, reportText);
    return;
  }
  if (runLoadChecks() != 0) {
    showStopBox(kDifferentVersionsText, pluginFileName, pluginFileName);
    return;
  }
  showStopBox(kNotInitialisedText, pluginFileName);
}

}  // namespace kamoria
