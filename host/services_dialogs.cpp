// Message boxes, notices and the stop box.
#include <cstdio>

#include "services.h"

namespace weltor {

namespace {

Dialog* nextDialog(DialogKind kind) {
  DialogState& dialogs = state().dialogs;
  const int32_t place = dialogs.count++;
  if (place >= DialogState::kCapacity) return nullptr;
  Dialog& dialog = dialogs.shown[place];
  dialog = Dialog{};
  dialog.kind = kind;
  return &dialog;
}

void copyInto(char* target, std::size_t size, const char* text) {
  std::snprintf(target, size, "%s", text != nullptr ? text : "");
}

}  // namespace

void resetDialogs(HostState&) {}

int32_t messageBox(const char* title, const char* text, int32_t mode) {
  if (Dialog* dialog = nextDialog(DialogKind::messageBox)) {
    dialog->mode = mode;
    copyInto(dialog->title, sizeof dialog->title, title);
    copyInto(dialog->text, sizeof dialog->text, text);
  }
  return 0;
}

int32_t showNotice(const char* text) {
  if (Dialog* dialog = nextDialog(DialogKind::notice))
    copyInto(dialog->text, sizeof dialog->text, text);
  return 0;
}

int32_t alertBoxV(int32_t boxId, const char* title, const char* format, int32_t, int32_t,
                  va_list arguments) {
  if (Dialog* dialog = nextDialog(DialogKind::alertBox)) {
    dialog->mode = boxId;
    copyInto(dialog->title, sizeof dialog->title, title);
    if (format != nullptr) std::vsnprintf(dialog->text, sizeof dialog->text, format, arguments);
  }
  return 0;
}

}  // namespace weltor
