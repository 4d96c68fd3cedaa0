#include "options_printer.h"

#include <cstring>
#include <fstream>
#include <sstream>

#include "boxes.h"
#include "config/options.h"
#include "display.h"

namespace weltor_program {

bool printOptions(const std::string& bytes, std::ostream& out, std::string& error, const std::string& indent) {
  if (bytes.size() != kamoria::kOptionsRecordSize) {
    error = "an options file holds " + std::to_string(kamoria::kOptionsRecordSize) + " bytes, this one " +
            std::to_string(bytes.size());
    return false;
  }
  // Columns: row, the row's key in the form, name, three workstations, warehouse.
  std::vector<TextLine> body = {{fitted("row", 4) + fitted("key", 5) + fitted("name", 18) +
                                 rightAligned("workstations", 35) + rightAligned("warehouse", 11)}};
  for (int row = 0; row < kamoria::kWarehouseRowCount; ++row) {
    const char* base = bytes.data() + kamoria::kWarehouseRowSize * static_cast<std::size_t>(row);
    const std::string name(base, strnlen(base, kamoria::kWarehouseNameSize));
    std::string line = rightAligned(std::to_string(row + 1), 2) + "  " + fitted("F" + std::to_string(row + 2), 5) +
                       fitted(weltor::toUtf8(name), 18);
    for (int column = 0; column < 3; ++column) {
      int32_t station = 0;
      std::memcpy(&station, base + kamoria::kWorkstationsOffset + 4 * column, sizeof station);
      line += rightAligned(std::to_string(station), column == 0 ? 11 : 12);
    }
    int16_t warehouse = 0;
    std::memcpy(&warehouse, bytes.data() + kamoria::kWarehouseNumbersOffset + 2 * row, sizeof warehouse);
    line += rightAligned(std::to_string(warehouse), 11);
    body.push_back({line});
  }
  for (const std::string& line : boxed("Kamoria.dat", body).lines()) out << indent << line << "\n";
  return true;
}

bool printOptionsFile(const std::string& path, std::ostream& out, std::string& error, const std::string& indent) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    error = "cannot read " + path;
    return false;
  }
  std::stringstream bytes;
  bytes << file.rdbuf();
  if (!printOptions(bytes.str(), out, error, indent)) {
    error = path + ": " + error;
    return false;
  }
  return true;
}

}  // namespace weltor_program
