// The configuration form as the host's form engine reads it: a size field,
// the frame item and 83 items, byte for byte in the host's description format.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kamoria {

inline constexpr std::size_t kFormTemplateSize = 2870;
inline constexpr int kFormItemCount = 83;
// The frame item's id, which is also how runForm names the form.
inline constexpr int32_t kConfigFormId = 4733;

inline constexpr int32_t kOkButtonId = 0x5001;
inline constexpr int32_t kCancelButtonId = 0x5002;

// Row r's name field and row button (whose id is also its key, F2 + r).
constexpr int32_t nameFieldId(int row) { return 0x4101 + row; }
constexpr int32_t workstationFieldId(int row, int column) { return 0x410B + 10 * column + row; }
constexpr uint16_t rowButtonKey(int row) { return static_cast<uint16_t>(0x3C00 + 0x100 * row); }

struct FormTemplate {
  unsigned char bytes[kFormTemplateSize];
};

// Writable: the host's engine gets a plain pointer and may work in it.
extern FormTemplate formTemplate;

}  // namespace kamoria
