#include "session.h"

#include <cstring>

#include "display.h"
#include "item_files.h"

namespace weltor_program {

namespace {

using Entry30001 = int32_t (*)(FeatureFunction, char*);
using EntryWithValue = int32_t (*)(int32_t);

// The host's own features answer the plug-in through WELTOR's export 30006.
constexpr uint16_t kFeatureExport = 30006;

}  // namespace

std::filesystem::path defaultPluginFile() {
  return programDirectory() / (std::string("kamoria") + moduleExtension());
}

std::filesystem::path hostModuleFile(const std::string& hostName) {
  return programDirectory() / "hosts" / hostName / (std::string("WELTOR") + moduleExtension());
}

bool Session::start(const SessionPlace& place, std::string& error) {
  place_ = place;
  host_ = loadModule(place.hostModule);
  if (host_ == nullptr) {
    error = loadError();
    return false;
  }
  const auto stateOf = reinterpret_cast<WeltorStateFunction>(namedExport(host_, "weltorState"));
  const auto reset = reinterpret_cast<WeltorResetFunction>(namedExport(host_, "weltorReset"));
  sendEvent_ = reinterpret_cast<WeltorSendEventFunction>(namedExport(host_, "weltorSendEvent"));
  writeSample_ = reinterpret_cast<WeltorWriteSampleDataFunction>(namedExport(host_, "weltorWriteSampleData"));
  if (stateOf == nullptr || reset == nullptr || sendEvent_ == nullptr || writeSample_ == nullptr) {
    error = place.hostModule.string() + " is not a substitute WELTOR (its control exports are missing)";
    stop();
    return false;
  }
  state_ = stateOf();
  reset(place.dataDir.string().c_str());
  if (place.pluginFile.empty()) return true;
  plugin_ = loadModule(place.pluginFile);
  if (plugin_ == nullptr) {
    error = loadError();
    stop();
    return false;
  }
  for (const uint16_t entry : {30001, 30008, 30010})
    if (numberedExport(plugin_, entry) == nullptr) {
      error = place.pluginFile.string() + " lacks the entry " + std::to_string(entry);
      stop();
      return false;
    }
  return true;
}

void Session::stop() {
  if (plugin_ != nullptr) unloadModule(plugin_);
  if (host_ != nullptr) unloadModule(host_);
  plugin_ = host_ = nullptr;
  state_ = nullptr;
}

int32_t Session::describe(std::string& description) {
  char buffer[64] = {};
  const auto feature = reinterpret_cast<FeatureFunction>(numberedExport(host_, kFeatureExport));
  const int32_t answer = reinterpret_cast<Entry30001>(numberedExport(plugin_, 30001))(feature, buffer);
  description.assign(buffer, strnlen(buffer, sizeof buffer));
  return answer;
}

void Session::activate() { reinterpret_cast<EntryWithValue>(numberedExport(plugin_, 30008))(0); }

void Session::report() { reinterpret_cast<EntryWithValue>(numberedExport(plugin_, 30008))(1); }

int32_t Session::configure() { return reinterpret_cast<EntryWithValue>(numberedExport(plugin_, 30010))(0); }

void Session::unload() { reinterpret_cast<Entry30001>(numberedExport(plugin_, 30001))(nullptr, nullptr); }

int16_t Session::sendEvent(int16_t screen, int16_t argument, int16_t event) {
  return sendEvent_(screen, argument, event);
}

bool Session::writeSample(const weltor::SampleShape& shape) { return writeSample_(&shape) == 0; }

std::string Session::warehouseName(int warehouse) {
  const weltor::TableState& tables = state_->tables;
  if (warehouse < 0 || warehouse >= weltor::TableState::kWarehouseCount || !tables.warehouseDefined[warehouse])
    return {};
  const auto* record = reinterpret_cast<const char*>(tables.warehouseRecords[warehouse]);
  const char* const name = record + weltor::kWarehouseNameAt;
  return weltor::toUtf8(std::string(name, strnlen(name, weltor::kWarehouseRecordSize - weltor::kWarehouseNameAt)));
}

int16_t Session::defaultWarehouse() {
  return weltor::defaultWarehouse(state_->session);
}

void Session::setDefaultWarehouse(int16_t warehouse) {
  weltor::setDefaultWarehouse(state_->session, warehouse);
}

weltor::ItemList* Session::itemList(int screen) {
  weltor::StockState& stock = state_->stock;
  for (int i = 0; i < stock.listCount && i < weltor::StockState::kListCapacity; ++i)
    if (stock.lists[i].screenId == screen) return &stock.lists[i];
  return nullptr;
}

unsigned char* Session::suspendedSetting() {
  for (weltor::Table& table : state_->tables.list)
    if (table.id == 64 && table.bufferSize > 77) return table.buffer + 76;
  return nullptr;
}

}  // namespace weltor_program
