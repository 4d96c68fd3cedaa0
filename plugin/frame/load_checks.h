// The checks that decide whether this host is one the plug-in was built
// for, and the report that tells the user why not.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kamoria {

// The record size the plug-in was built for, set against what the host has.
struct RecordSizeCheck {
  int32_t tableId;
  int32_t expectedSize;
  int32_t actualSize;  // 0 when the host has no such table
  const char* tableName;
  RecordSizeCheck* next;  // the next table in the mismatch list
};

inline constexpr std::size_t kReportTextSize = 3072;
inline constexpr std::size_t kListTextSize = 256;
inline constexpr int32_t kRequiredApiVersion = 112;
inline constexpr uint32_t kUnreadableDate = 0x7FFFFFFF;

// The features the host lacks, as the last run of the checks found them;
// all bits set until the checks first run.
extern uint32_t missingFeatureMask;
extern RecordSizeCheck recordSizeChecks[3];
// Tables whose record sizes differ, in the order they were first found.
extern RecordSizeCheck* mismatchList;
extern char reportText[kReportTextSize];

// 0 when every check passes, -1 at the first that fails.
int32_t runLoadChecks();
// Compares the three tables' record sizes; gives the length of the mismatch list.
int32_t checkRecordSizes();
// Writes the missing-function message into the report text when the host
// lacks numbers; gives how many it lacks.
int32_t writeMissingFunctionText();
// Writes the record-size message into the report text; -1 when written,
// 0 when every size matched.
int32_t writeRecordSizeText();
// Shows the one stop box that explains the refusal.
void showFailureReport();

}  // namespace kamoria
