// Types that cross the boundary between the host and the plug-in.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdint>

extern "C" {
// A screen handler: the first argument (the key code for a key event) and the
// event code; the result goes back to the host.
typedef int16_t (*ScreenHandler)(int16_t argument, int16_t event);
// The handler of a form the plug-in describes to the host's form engine.
typedef int32_t (*FormHandler)(int32_t key, int32_t event);
// The host's feature-negotiation function.
typedef int32_t (*FeatureFunction)(int32_t what, int32_t value);
}

// The host's description of an open table. Only two fields are ours to read:
// the record size and the pointer to the current-record buffer.
struct TableRef;

namespace kamoria {

inline constexpr std::size_t kTableRefRecordSizeOffset = 6;
inline constexpr std::size_t kTableRefRecordBufferOffset = 8;

// Storage the plug-in reserves for objects whose layout belongs to the host.
inline constexpr std::size_t kFileNameStorageSize = 512;
inline constexpr std::size_t kTableFileStorageSize = 192;
inline constexpr std::size_t kPositionRecordSize = 64;
inline constexpr std::size_t kHostObjectAlignment = 16;

// Screen and form events.
inline constexpr int16_t kEventOpen = -2;
inline constexpr int16_t kEventKey = 1;
inline constexpr int16_t kEventClose = 2;

}  // namespace kamoria
