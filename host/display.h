// Showing the host's Mazovia texts on a UTF-8 terminal.
#pragma once

#include <string>

namespace weltor {

// Polish letters and CP437 line-drawing aside, bytes above 0x7F show as '?'.
// The host's markup bytes (0x01, 0x02, 0x05) show as ⟨01⟩, ⟨02⟩, ⟨05⟩.
std::string toUtf8(const char* mazovia);
std::string toUtf8(const std::string& mazovia);

}  // namespace weltor
