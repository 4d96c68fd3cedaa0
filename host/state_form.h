// Host state: forms, pickers, dialogs and the profile file.
#pragma once

#include <cstdint>

namespace weltor {

// A field buffer holds 16 characters and the 0 byte.
inline constexpr int kFieldBufferSize = 17;

// The host's standard close buttons; a key that no handler takes presses the
// button that carries it.
inline constexpr int32_t kFormOk = 0x5001;
inline constexpr int32_t kFormCancel = 0x5002;
inline constexpr int32_t kEscapeKey = 0x011B;

// What the user does in a running form, one step after the other.
enum class FormStepKind : int32_t {
  event,        // the handler gets (key, event); event 1 is a key press
  typeNumber,   // a number typed into a number field
  pressButton,  // a button chosen by its id
};

struct FormStep {
  FormStepKind kind;
  int32_t key;
  int32_t event;
  int32_t fieldId;
  int32_t number;
};

// One item of a template as the host read it.
struct FormItemView {
  int16_t kind;  // -1 frame, 0 button, 3 caption, 5 field
  uint16_t id, flags, key, column, row, width, height;
  int32_t offset;  // in the template
  int32_t size;
  char text[32];
};

// A field of the running form and its place in the data record.
struct FormField {
  int32_t id;
  bool isText;
  int32_t slotOffset;
  int32_t slotSize;  // 17 for a text field, 4 for a number field
  int32_t lowest, highest;
  char* buffer;  // kFieldBufferSize bytes, followed by an unreadable page
};

struct HandlerCall {
  int32_t key, event, result;
};

struct WarehouseMapping {
  int32_t from, to;
};

struct FormState {
  // The user's steps in the next form; when they run out the user cancels.
  static constexpr int kScriptCapacity = 64;
  FormStep script[kScriptCapacity];
  int32_t scriptLength;

  // The last form run, as the host read and ran it.
  int32_t formsRun;
  bool templateValid;  // false: the host refused the form and called nothing
  int32_t frameId;
  unsigned char* dataRecord;
  static constexpr int kTemplateCapacity = 4096;
  unsigned char received[kTemplateCapacity];  // the template bytes it was given
  int32_t receivedSize;
  FormItemView frame;
  static constexpr int kItemCapacity = 128;
  FormItemView items[kItemCapacity];
  int32_t itemCount;
  static constexpr int kFieldCapacity = 64;
  FormField fields[kFieldCapacity];
  int32_t fieldCount;
  HandlerCall handled[kScriptCapacity + 1];
  int32_t handledCount;
  int32_t closedWith;

  // pickWarehouse: the user's choices in turn; once used up the user leaves
  // the picker and the current number comes back.
  int32_t pickAnswers[16];
  int32_t pickAnswerCount;
  int32_t picksMade;

  // checkWarehouseNo: numbers the host replaces; any other stays.
  WarehouseMapping mappings[8];
  int32_t mappingCount;

  // askDialog: the answer the user gives (its low 16 bits reach the caller)
  // and the last question.
  int32_t askAnswer;
  int32_t asksShown;
  int32_t askDialogId;
  char askText[256];

  // A person at the keyboard (the interactive weltor). Once the scripted
  // steps run out the form asks for the next step here (false: the person
  // closed the window), and the picker asks here once its answers are used
  // up. Null: nobody is there, the form cancels and the picker keeps the
  // current number.
  bool (*liveStep)(FormStep* step);
  int32_t (*livePick)(int32_t current);
};

}  // namespace weltor
