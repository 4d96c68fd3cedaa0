#include "stock/stock_lookup.h"

#include <cstdio>

#include "frame/host_services.h"
#include "frame/table_records.h"
#include "stock/stock_scan.h"

namespace kamoria {

namespace {

constexpr uint16_t kF11 = 0x8500;
constexpr uint16_t kCtrlF6 = 0x6300;
constexpr uint16_t kCtrl9 = 0x00EF;
constexpr int16_t kItemListCode = 0x4001;
constexpr int32_t kListWindowId = 2392;

inline constexpr auto kListFailed = mazovia("NIeudane wyszukanie towaru z listy (fseek_lista)");
inline constexpr auto kNewListFailed = mazovia("NIeudane wyszukanie towaru z listy (fseek_lista_new)");
inline constexpr auto kNothingFound = mazovia("Towarów z tym kodem nie ma na innych magazynach.");
inline constexpr auto kColumns = mazovia("l-1Magazyn\rl16Stan\r");
inline constexpr auto kWindowTitle = mazovia("Stany na innych magazynach");

uint16_t hotKeyOf(int16_t screenId) {
  switch (screenId) {
    case 742: return kCtrlF6;
    case 3044: return kCtrl9;
    default: return kF11;
  }
}

// How the host puts the item under a list's cursor into the item record.
enum class Positioning { none, list, newList };

Positioning positioningOf(int16_t screenId) {
  switch (screenId) {
    case 147:
    case 397:
    case 742:
    case 780: return Positioning::list;
    case 2171:
    case 2201:
    case 3044: return Positioning::newList;
    default: return Positioning::none;
  }
}

}  // namespace

int16_t stockLookupCommand(int16_t key, int16_t screenId) {
  if (static_cast<uint16_t>(key) != hotKeyOf(screenId)) return 0;

  TableRef* const items = refreshedTable(kItemTable);
  if (items == nullptr) {
    showDiskError(kStockDiskError);
    return 1;
  }
  unsigned char* const itemRecord = host::recordBuffer(items);

  void* const list = host::getScreenItem(kItemListCode);
  switch (positioningOf(screenId)) {
    case Positioning::list:
      if (host::fseek_lista(list, 0, 0, 0) == 0) {
        host::showNotice(kListFailed);
        return 1;
      }
      break;
    case Positioning::newList:
      if (static_cast<int16_t>(host::fseek_lista_new(itemRecord, 0, list)) == 0) {
        host::showNotice(kNewListFailed);
        return 1;
      }
      break;
    case Positioning::none: break;
  }

  std::remove(kStockResultFile);  // a missing file is the usual case

  if (pokazStanInnychMag(itemRecord) != 0)
    host::showFileList(kStockResultFile, kColumns, 0, kWindowTitle, kListWindowId);
  else
    host::showNotice(kNothingFound);
  return 1;
}

}  // namespace kamoria
