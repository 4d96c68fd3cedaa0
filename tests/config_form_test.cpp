// The configuration form: the host gets the form's description byte for byte,
// the user picks warehouses with F2..F10, types workstation numbers and
// closes with OK (the options file is saved) or Cancel (nothing is saved).
#include <cstdio>
#include <cstring>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>

#include "frame/mazovia.h"
#include "support/host_test.h"

namespace {

using testing_support::HostTest;

constexpr uint16_t kFindDataFile = 52534, kGetTable = 52256, kPickWarehouse = 52337,
                   kCheckWarehouseNo = 51544, kLoadWarehouseDef = 50904, kSetItemFlags = 52034,
                   kRunForm = 52026;
constexpr int32_t kF2 = 0x3C00, kF5 = 0x3F00, kF12 = 0x8600;
constexpr int32_t kKeyTaken = 0x1002;

int32_t featuresPresent(int32_t, int32_t) { return 1; }

int32_t nameField(int row) { return 0x4101 + row; }
int32_t stationField(int row, int column) { return 0x410B + 10 * column + row; }

// "03 00 ff" -> the three bytes.
std::string hex(const char* dump) {
  std::string bytes;
  for (const char* p = dump; *p != '\0';) {
    if (*p == ' ') {
      ++p;
      continue;
    }
    bytes.push_back(static_cast<char>(std::stoi(std::string(p, 2), nullptr, 16)));
    p += 2;
  }
  return bytes;
}
// A text with its 0 byte.
std::string text(const char* bytes) { return std::string(bytes, std::strlen(bytes) + 1); }

std::string numberedName(int warehouse) {
  char name[32];
  std::snprintf(name, sizeof name, "Magazyn %d", warehouse);
  return name;
}

// An options record laid out by hand: 9 rows of name (17) and three
// workstations (4 each), then nine warehouse numbers.
struct Record {
  std::string bytes = std::string(279, '\0');
  Record() {
    for (int row = 0; row < 9; ++row) warehouse(row, -1);
  }
  Record& name(int row, const std::string& value) {
    std::memset(bytes.data() + 29 * row, 0, 17);
    std::memcpy(bytes.data() + 29 * row, value.data(), value.size());
    return *this;
  }
  Record& station(int row, int column, int32_t number) {
    std::memcpy(bytes.data() + 29 * row + 17 + 4 * column, &number, sizeof number);
    return *this;
  }
  Record& warehouse(int row, int16_t number) {
    std::memcpy(bytes.data() + 261 + 2 * row, &number, sizeof number);
    return *this;
  }
};

class ConfigForm : public HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    char description[64];
    ASSERT_EQ(entry30001(&featuresPresent, description), 0);
    clearLog();
  }

  int32_t configure() { return entry30010(0); }

  // What the user will do in the form.
  void step(weltor::FormStepKind kind, int32_t key, int32_t event = 1, int32_t fieldId = 0,
            int32_t number = 0) {
    weltor::FormState& form = host().form;
    ASSERT_LT(form.scriptLength, weltor::FormState::kScriptCapacity);
    form.script[form.scriptLength++] = {kind, key, event, fieldId, number};
  }
  void press(int32_t key, int32_t event = 1) { step(weltor::FormStepKind::event, key, event); }
  void type(int32_t fieldId, int32_t number) { step(weltor::FormStepKind::typeNumber, 0, 0, fieldId, number); }
  void click(int32_t buttonId) { step(weltor::FormStepKind::pressButton, buttonId); }
  void pickAnswers(std::initializer_list<int32_t> answers) {
    weltor::FormState& form = host().form;
    for (const int32_t answer : answers) form.pickAnswers[form.pickAnswerCount++] = answer;
  }
  void mapWarehouse(int32_t from, int32_t to) {
    weltor::FormState& form = host().form;
    form.mappings[form.mappingCount++] = {from, to};
  }

  // The host's warehouse definition: its name at byte 4 of the record.
  void defineWarehouse(int number, const std::string& name) {
    host().tables.warehouseDefined[number] = true;
    std::memset(host().tables.warehouseRecords[number], 0, 216);
    std::memcpy(host().tables.warehouseRecords[number] + 4, name.data(), name.size());
  }

  // A field's text as the form shows it: never past the 17-byte buffer.
  std::string field(int32_t id) {
    const weltor::FormState& form = host().form;
    for (int i = 0; i < form.fieldCount; ++i)
      if (form.fields[i].id == id) return std::string(form.fields[i].buffer, strnlen(form.fields[i].buffer, 17));
    return "<no field>";
  }
  std::vector<weltor::HandlerCall> handled() {
    return {host().form.handled, host().form.handled + host().form.handledCount};
  }

  std::filesystem::path optionsFile() const { return dataDir() / "Kamoria.dat"; }
  void writeOptions(const Record& record) const {
    std::ofstream(optionsFile(), std::ios::binary).write(record.bytes.data(), 279);
  }
  std::string savedOptions() const {
    std::ifstream in(optionsFile(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
};

const std::string kMain(kamoria::mazovia("Główny").c_str());
const std::string kShop(kamoria::mazovia("Sklep Żoliborz").c_str());

// ---- the description the host reads -----------------------------------------

TEST_F(ConfigForm, HostReceivesTheTemplateByteForByte) {
  ASSERT_EQ(configure(), 0);

  const weltor::FormState& form = host().form;
  ASSERT_EQ(form.formsRun, 1);
  ASSERT_TRUE(form.templateValid);
  ASSERT_EQ(form.receivedSize, 2870);
  const std::string bytes(reinterpret_cast<const char*>(form.received), 2870);
  auto at = [&](std::size_t offset, const std::string& expected) {
    EXPECT_EQ(bytes.substr(offset, expected.size()), expected) << "at byte " << offset;
  };
  at(0, hex("32 0b 00 00  2e 0b  53 00"));
  at(8, hex("ff ff 7d 12 00 00 00 00 00 00 00 00 43 00 10 00 00 00 00 00") +
            text("Ustaw stanowiska dla magazyn\xA2w"));
  at(59, hex("03 00 ff ff 00 08 00 00 01 00 01 00 01 00 01 00 00 00 00 00 00"));
  // Row 0: name field, F2 button, column caption, first workstation field.
  at(80, hex("05 00 26 00  05 00 01 41 02 00 00 00 0d 00 02 00 12 00 01 00 00 00 00 00"
             "  00 00 00 00 00 00 00 00  10 00 88 00 00 00  10 00 01 00  00"));
  at(123, hex("00 00 00 3c 80 01 00 3c 03 00 02 00 0a 00 01 00 00 00 00 00") + text("\x05" "F2 \x01 Mag."));
  at(154, hex("03 00 ff ff 00 00 00 00 23 00 01 00 0a 00 01 00 00 00 00 00") + text("Stanowisko"));
  at(185, hex("05 00 2c 00  05 00 0b 41 00 00 00 00 23 00 02 00 08 00 01 00 00 00 00 00"
              "  00 00 00 00 00 00 00 00  07 00 02 00 40 00 00 00 00 00 00 00  ff ff ff 7f  00"));
  // Row 0 ends with an empty caption; row 1 starts one screen row lower.
  at(374, hex("03 00 ff ff 00 08 00 00 01 00 01 00 01 00 01 00 00 00 00 00 00"));
  at(395, hex("05 00 26 00  05 00 02 41 02 00 00 00 0d 00 03 00 12 00 01 00"));
  // Row 8: the F10 button (no blank after F10), the last field, then OK.
  at(2573, hex("00 00 00 44 80 01 00 44 03 00 0a 00 0a 00 01 00 00 00 00 00") + text("\x05" "F10\x01 Mag."));
  at(2765, hex("05 00 2c 00  05 00 27 41 00 00 00 00 33 00 0a 00 08 00 01 00"));
  at(2814, hex("00 00 01 50 04 80 00 86 17 00 0d 00 08 00 01 00 00 00 00 00") + text("\x05" "F12\x01 OK"));
  at(2843, hex("00 00 02 50 00 00 00 00 23 00 0d 00 08 00 01 00 00 00 00 00") + text("Anuluj"));

  const auto run = callsTo(kRunForm);
  ASSERT_EQ(run.size(), 1u);
  EXPECT_EQ(run[0].args[1], 4733);
}

TEST_F(ConfigForm, FieldsTakeTheOptionsRecordSlotsInTemplateOrder) {
  ASSERT_EQ(configure(), 0);

  const weltor::FormState& form = host().form;
  ASSERT_EQ(form.itemCount, 83);
  ASSERT_EQ(form.fieldCount, 36);
  for (int row = 0; row < 9; ++row) {
    SCOPED_TRACE(testing::Message() << "row " << row);
    const weltor::FormField& name = form.fields[4 * row];
    EXPECT_EQ(name.id, nameField(row));
    EXPECT_TRUE(name.isText);
    EXPECT_EQ(name.slotOffset, 29 * row);
    EXPECT_EQ(name.slotSize, 17);
    for (int column = 0; column < 3; ++column) {
      const weltor::FormField& station = form.fields[4 * row + 1 + column];
      EXPECT_EQ(station.id, stationField(row, column));
      EXPECT_FALSE(station.isText);
      EXPECT_EQ(station.slotOffset, 29 * row + 17 + 4 * column);
      EXPECT_EQ(station.lowest, 0);
      EXPECT_EQ(station.highest, 2147483647);
    }
  }
  EXPECT_EQ(form.fields[35].slotOffset + form.fields[35].slotSize, 261);
}

// ---- who may configure, and the first use --------------------------------------

TEST_F(ConfigForm, UserWithoutTheRightGetsANoticeAndNoForm) {
  host().session.restrictions[0] = {36, 1, 1};
  host().session.restrictionCount = 1;

  EXPECT_EQ(configure(), 0);

  ASSERT_EQ(host().dialogs.count, 1);
  EXPECT_EQ(host().dialogs.shown[0].kind, weltor::DialogKind::notice);
  EXPECT_EQ(std::string(host().dialogs.shown[0].text), "Brak uprawnie\xA4 do konfiguracji wtyczki");
  EXPECT_EQ(host().form.formsRun, 0);
  EXPECT_TRUE(callsTo(kFindDataFile).empty()) << "the options are not even loaded";
}

TEST_F(ConfigForm, OtherRestrictionsDoNotKeepTheUserOut) {
  host().session.restrictions[0] = {36, 1, 2};
  host().session.restrictions[1] = {37, 1, 1};
  host().session.restrictionCount = 2;

  EXPECT_EQ(configure(), 0);

  EXPECT_EQ(host().dialogs.count, 0);
  EXPECT_EQ(host().form.formsRun, 1);
}

TEST_F(ConfigForm, FirstUseShowsEmptyNamesAndZeroWorkstationsAndSavesNothingOnCancel) {
  EXPECT_EQ(configure(), 0);

  ASSERT_EQ(handled().size(), 1u);
  EXPECT_EQ(handled()[0].event, -2);
  EXPECT_EQ(handled()[0].result, 0);
  for (int row = 0; row < 9; ++row) {
    EXPECT_EQ(field(nameField(row)), "") << "row " << row;
    for (int column = 0; column < 3; ++column) EXPECT_EQ(field(stationField(row, column)), "0");
  }
  EXPECT_TRUE(callsTo(kCheckWarehouseNo).empty()) << "no row has a warehouse";
  EXPECT_TRUE(callsTo(kLoadWarehouseDef).empty());
  const auto flags = callsTo(kSetItemFlags);
  ASSERT_EQ(flags.size(), 1u);
  EXPECT_EQ((std::vector<intptr_t>(flags[0].args, flags[0].args + 3)), (std::vector<intptr_t>{0, 0x8000, 1}));
  EXPECT_EQ(host().form.closedWith, weltor::kFormCancel);
  EXPECT_FALSE(std::filesystem::exists(optionsFile()));
}

// ---- choosing warehouses ----------------------------------------------------------

TEST_F(ConfigForm, F2ToF10PickRowsZeroToEight) {
  for (int row = 0; row < 9; ++row) defineWarehouse(20 + row, numberedName(20 + row));
  pickAnswers({20, 21, 22, 23, 24, 25, 26, 27, 28});
  for (int row = 0; row < 9; ++row) press(kF2 + 0x100 * row);

  configure();

  const auto picks = callsTo(kPickWarehouse);
  ASSERT_EQ(picks.size(), 9u);
  for (int row = 0; row < 9; ++row) {
    SCOPED_TRACE(testing::Message() << "F" << row + 2);
    EXPECT_EQ(handled()[1 + row].result, kKeyTaken);
    EXPECT_EQ((std::vector<intptr_t>(picks[row].args, picks[row].args + 3)), (std::vector<intptr_t>{-1, -1, 0}))
        << "the row had no warehouse yet";
    EXPECT_EQ(field(nameField(row)), numberedName(20 + row));
  }
  EXPECT_EQ(callsTo(kGetTable).size(), 10u) << "the names are refreshed on opening and after every pick";
}

TEST_F(ConfigForm, F5PicksForTheFourthRowFromItsCurrentWarehouse) {
  defineWarehouse(7, "Siedem");
  defineWarehouse(2, kMain);
  defineWarehouse(4, kShop);
  writeOptions(Record().warehouse(0, 4).warehouse(3, 7).warehouse(8, 4));
  pickAnswers({2});
  press(kF5);

  configure();

  const auto picks = callsTo(kPickWarehouse);
  ASSERT_EQ(picks.size(), 1u);
  EXPECT_EQ(picks[0].args[0], 7);
  EXPECT_EQ(handled().back().result, kKeyTaken);
  EXPECT_EQ(field(nameField(3)), kMain);
  EXPECT_EQ(field(nameField(0)), kShop);
  EXPECT_EQ(field(nameField(8)), kShop);
  EXPECT_EQ(callsTo(kCheckWarehouseNo).size(), 6u) << "three named rows, on opening and after the pick";
}

TEST_F(ConfigForm, OnlyF2ToF10OpenThePicker) {
  defineWarehouse(4, kShop);
  const Record before = Record().name(0, kShop).warehouse(0, 4).station(1, 2, 77);
  writeOptions(before);
  pickAnswers({9, 9, 9, 9, 9, 9, 9, 9, 9, 9});
  const struct {
    int32_t key, event;
  } others[] = {{0x3B00, 1} /* F1 */,     {0x8500, 1} /* F11 */, {0x00EF, 1} /* Ctrl-9 */,
                {0x6300, 1} /* Ctrl-F6 */, {0x4500, 1},           {0x3C01, 1},
                {0x0061, 1} /* a */,       {0x0000, 1},           {kF2, 2},
                {kF2, 0},                  {kF2, 0x10002}};
  for (const auto& other : others) press(other.key, other.event);
  press(kF12);

  configure();

  ASSERT_EQ(handled().size(), 1 + std::size(others) + 1);
  for (std::size_t i = 0; i < std::size(others); ++i)
    EXPECT_EQ(handled()[1 + i].result, 0) << std::hex << "key " << others[i].key << " event " << others[i].event;
  EXPECT_TRUE(callsTo(kPickWarehouse).empty());
  EXPECT_EQ(callsTo(kGetTable).size(), 1u) << "only the opening refreshes the names";
  EXPECT_EQ(savedOptions(), before.bytes) << "closed with F12: nothing changed";
}

TEST_F(ConfigForm, KeyAndEventAreReadFromTheirLowHalves) {
  defineWarehouse(5, kMain);
  defineWarehouse(6, kShop);
  pickAnswers({5, 6});
  press(0x00013E00);        // F4, with bits above the key
  press(0x3D00, 0x00020001);  // F3, with bits above the key event

  configure();

  ASSERT_EQ(callsTo(kPickWarehouse).size(), 2u);
  EXPECT_EQ(handled()[1].result, kKeyTaken);
  EXPECT_EQ(handled()[2].result, kKeyTaken);
  EXPECT_EQ(field(nameField(2)), kMain);
  EXPECT_EQ(field(nameField(1)), kShop);
}

TEST_F(ConfigForm, NameFieldShowsTheNameDashesOrNothing) {
  defineWarehouse(1, kMain);
  defineWarehouse(2, "");
  defineWarehouse(4, "Magazyn hurtowy numer 4");  // 23 characters
  defineWarehouse(5, "Szesnascie znakw");        // exactly 16
  writeOptions(Record()
                   .warehouse(0, 1)
                   .warehouse(1, 2)
                   .warehouse(2, 3)  // no such warehouse: the record comes back empty
                   .name(3, "Stary")
                   .warehouse(3, -1)
                   .warehouse(4, 4)
                   .warehouse(5, 5));

  configure();

  EXPECT_EQ(field(nameField(0)), kMain);
  EXPECT_EQ(field(nameField(1)), "--------");
  EXPECT_EQ(field(nameField(2)), "--------");
  EXPECT_EQ(field(nameField(3)), "") << "a row without a warehouse shows nothing";
  EXPECT_EQ(field(nameField(4)), "Magazyn hurtowy ") << "cut to the field's 16 characters";
  EXPECT_EQ(field(nameField(5)), "Szesnascie znakw");
  const auto loads = callsTo(kLoadWarehouseDef);
  ASSERT_EQ(loads.size(), 5u) << "rows without a warehouse look nothing up";
  EXPECT_EQ(loads[3].args[0], 4);
}

// ---- closing ----------------------------------------------------------------------

TEST_F(ConfigForm, OkSavesTheWholeRecordWhetherByF12OrTheButton) {
  defineWarehouse(3, kMain);
  defineWarehouse(5, kShop);
  const Record start = Record().name(0, "stara nazwa").warehouse(0, 3).station(0, 0, 11).station(8, 1, 5);
  const Record expected = Record(start)
                              .name(0, kMain)
                              .name(1, kShop)
                              .warehouse(1, 5)
                              .station(1, 0, 101)
                              .station(1, 2, 103)
                              .station(8, 2, 2147483647);

  for (const bool byKey : {true, false}) {
    SCOPED_TRACE(byKey ? "F12" : "OK button");
    writeOptions(start);
    host().form.pickAnswerCount = host().form.picksMade = 0;
    pickAnswers({5});
    press(kF2 + 0x100);
    type(stationField(1, 0), 101);
    type(stationField(1, 2), 103);
    type(stationField(8, 2), 2147483647);
    type(stationField(0, 0), -4);  // below the field's lowest number: refused
    if (byKey)
      press(kF12);
    else
      click(0x5001);

    EXPECT_EQ(configure(), 0);

    EXPECT_EQ(host().form.closedWith, weltor::kFormOk);
    const std::string saved = savedOptions();
    ASSERT_EQ(saved.size(), 279u);
    for (std::size_t i = 0; i < 279; ++i)
      ASSERT_EQ(saved[i], expected.bytes[i]) << "byte " << i;
  }
}

TEST_F(ConfigForm, CancelSavesNothing) {
  defineWarehouse(5, kShop);
  const Record start = Record().warehouse(0, 5).station(0, 0, 11);
  writeOptions(start);
  pickAnswers({6});
  press(kF2);
  type(stationField(0, 0), 99);
  click(0x5002);

  configure();

  EXPECT_EQ(host().form.closedWith, weltor::kFormCancel);
  EXPECT_EQ(savedOptions(), start.bytes);
  EXPECT_EQ(callsTo(kFindDataFile).size(), 1u) << "only the load looked for the file";
}

TEST_F(ConfigForm, MappedWarehouseNumberIsStoredAndSaved) {
  defineWarehouse(9, kShop);
  writeOptions(Record().warehouse(2, 7));
  mapWarehouse(7, 9);
  press(kF12);

  configure();

  const auto checks = callsTo(kCheckWarehouseNo);
  ASSERT_EQ(checks.size(), 1u);
  EXPECT_EQ(checks[0].args[0], 7);
  EXPECT_EQ(checks[0].args[1], 8);
  EXPECT_EQ(callsTo(kLoadWarehouseDef).at(0).args[0], 9);
  EXPECT_EQ(field(nameField(2)), kShop);
  EXPECT_EQ(savedOptions(), Record().warehouse(2, 9).name(2, kShop).bytes);
}

TEST_F(ConfigForm, MissingWarehouseTableKeepsTheNamesButNotThePick) {
  table(48).present = false;
  writeOptions(Record().name(0, "Stary").warehouse(0, 3));
  pickAnswers({4});
  press(kF2);
  press(kF12);

  configure();

  ASSERT_GE(handled().size(), 2u);
  EXPECT_EQ(handled()[0].result, 1) << "on opening";
  EXPECT_EQ(handled()[1].result, 1) << "after the pick";
  ASSERT_EQ(host().dialogs.count, 2);
  for (int i = 0; i < 2; ++i) {
    const weltor::Dialog& box = host().dialogs.shown[i];
    EXPECT_EQ(box.kind, weltor::DialogKind::messageBox);
    EXPECT_STREQ(box.title, "Uwaga");
    EXPECT_EQ(std::string(box.text), "B\x92\x86" "d operacji dyskowej-Initial!\nOperacja niekompletna!");
    EXPECT_EQ(box.mode, 1);
  }
  EXPECT_EQ(field(nameField(0)), "Stary");
  EXPECT_TRUE(callsTo(kSetItemFlags).empty());
  EXPECT_EQ(savedOptions(), Record().name(0, "Stary").warehouse(0, 4).bytes) << "the pick stays stored";
}

}  // namespace
