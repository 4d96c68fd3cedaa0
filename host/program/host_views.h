// The host's windows drawn from its state: dialogs, the question, the form,
// the list window and the host values the lock changes. The transcript and
// the interactive screen draw the same pictures.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "boxes.h"
#include "session.h"

namespace weltor_program {

// A message box that stands only while the work behind it goes on.
bool isProgressBox(const weltor::Dialog& dialog);
// What the host calls the dialog, for the line above its box.
std::string dialogKindName(const weltor::Dialog& dialog);
Canvas dialogView(const weltor::Dialog& dialog);
Canvas questionView(const weltor::FormState& form);

// The field a person is in, and what they have typed there so far.
struct FormFocus {
  int32_t fieldId = 0;
  bool typing = false;
  std::string typed;
};
Canvas formView(const weltor::FormState& form, const FormFocus* focus = nullptr);

// Lines from `first` on, at most `rows` of them (0: all the window holds).
Canvas listWindowView(const weltor::FileListWindow& window, int first = 0, int rows = 0);

// The values the warehouse lock sets and gives back.
std::vector<TextLine> hostValueLines(Session& session);
// Warehouses as ranges: "0–99", "2", "0–3, 7".
std::string warehouseRanges(const std::vector<int>& warehouses);

}  // namespace weltor_program
