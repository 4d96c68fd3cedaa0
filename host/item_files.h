// The host's stock data files: one item file per warehouse and the bar-code
// link file, both plain arrays of fixed-size records.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace weltor {

// Item record (table 49, file code 4).
inline constexpr int kItemRecordSize = 1024;
inline constexpr int kItemNameAt = 0;
inline constexpr int kItemBarcodeAt = 123;
inline constexpr int kItemUnitAt = 157;
inline constexpr int kItemQuantityAt = 175;  // int32, thousandths of the unit
inline constexpr int kItemNumberAt = 1022;   // int16
inline constexpr int kItemFileCode = 4;

// Bar-code link record (table 117, file code 154).
inline constexpr int kLinkRecordSize = 144;
inline constexpr int kLinkBarcodeAt = 0;
inline constexpr int kLinkWarehouseAt = 140;  // int16
inline constexpr int kLinkItemNumberAt = 142; // int16
inline constexpr int kLinkFileCode = 154;

// The host names its item files with this prefix and extension.
inline constexpr const char* kItemFilePrefix = "MMM";
inline constexpr const char* kItemFileExtension = ".MGR";

// Warehouse record (table 48).
inline constexpr int kWarehouseRecordSize = 216;
inline constexpr int kWarehouseNameAt = 4;

// Where warehouse `warehouse`'s item file lives: <dataDir>/<prefix><nn><extension>.
void itemFilePath(char* path, std::size_t size, const char* dataDir, int32_t warehouse,
                  const char* prefix, const char* extension);
// Where the data file of a table file code lives: <dataDir>/TAB<code>.DAT.
void dataFilePath(char* path, std::size_t size, const char* dataDir, int32_t fileCode);

// The record size of the files with this file code, or 0 for an unknown code.
int recordSizeOfFileCode(int32_t fileCode);

// Reads the record of one item number from an open item file: the record at
// the item's place when the file is in item-number order, else the first
// record that carries the number.
bool readItemByNumber(std::FILE* file, int16_t itemNo, unsigned char* record);

}  // namespace weltor
