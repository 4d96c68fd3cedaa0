// Host state: the boxes and notices shown to the user.
#pragma once

#include <cstdint>

namespace weltor {

enum class DialogKind : int32_t { messageBox, notice, alertBox };

struct Dialog {
  DialogKind kind;
  int32_t mode;   // messageBox mode; alertBox box id
  char title[64];
  char text[3200];
};

struct DialogState {
  static constexpr int kCapacity = 32;
  Dialog shown[kCapacity];
  int32_t count;  // keeps counting past the capacity
};

}  // namespace weltor
