// A user who may not change the warehouse works at workstation 5, which the
// options assign to warehouse 4: the screens lock the warehouse around the
// host's own handling and the document screen puts the host's values back.
#include <array>
#include <cstring>
#include <fstream>

#include "support/screen_story.h"

namespace {

using testing_support::kClose;
using testing_support::kKey;
using testing_support::kOpen;
using testing_support::ScreenStory;
using Mask = std::array<unsigned char, 13>;

constexpr int32_t kWorkstation = 5;
constexpr int16_t kAssignedWarehouse = 4;
constexpr int16_t kHostWarehouse = 1;
constexpr int16_t kHostSetting = 3;
constexpr Mask kHostMask = {0x02, 0, 0, 0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0x0F};
constexpr Mask kPickedMask = {0xFF, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

// Every warehouse 0..99 masked out but one; bits 100..103 clear.
Mask lockMask(int open) {
  Mask mask{};
  for (int j = 0; j < 100; ++j)
    if (j != open) mask[j / 8] = static_cast<unsigned char>(mask[j / 8] | (1U << (j % 8)));
  return mask;
}

Mask maskOf(const unsigned char* bytes) {
  Mask mask;
  std::memcpy(mask.data(), bytes, mask.size());
  return mask;
}

// The host's own handling of key 0x2300 lets the user pick warehouses.
weltor::HostState* pickingHost = nullptr;
ScreenHandler documentScreensOwn = nullptr;
int16_t ownHandlerThatPicksOn2300(int16_t argument, int16_t event) {
  const int16_t result = documentScreensOwn(argument, event);
  if (event == kKey && argument == 0x2300)
    std::memcpy(pickingHost->session.warehouseMask, kPickedMask.data(), kPickedMask.size());
  return result;
}

class ScreenLock : public ScreenStory {
 protected:
  void SetUp() override {
    ScreenStory::SetUp();
    assignWorkstationInOptionsFile();
    prepareHost();
  }

  // The host's own values before any lock.
  void prepareHost() {
    setRestricted(true);
    host().session.workstationNo = kWorkstation;
    host().session.currentWarehouse = kHostWarehouse;
    setDefaultWarehouse(kHostWarehouse);
    std::memcpy(host().session.warehouseMask, kHostMask.data(), kHostMask.size());
    setSuspendedSetting(kHostSetting);
  }

  // Row 2 of nine lists workstation 5 in its third column.
  void assignWorkstationInOptionsFile() {
    unsigned char record[279] = {};
    for (int row = 0; row < 9; ++row) {
      for (int column = 0; column < 3; ++column) {
        const int32_t station = row == 2 && column == 2 ? kWorkstation : 100 + 3 * row + column;
        std::memcpy(record + 29 * row + 17 + 4 * column, &station, 4);
      }
      const int16_t warehouse = row == 2 ? kAssignedWarehouse : static_cast<int16_t>(20 + row);
      std::memcpy(record + 261 + 2 * row, &warehouse, 2);
    }
    std::ofstream(dataDir() / "Kamoria.dat", std::ios::binary)
        .write(reinterpret_cast<const char*>(record), sizeof record);
  }

  Mask hostMask() { return maskOf(host().session.warehouseMask); }
  // The mask in place while the host's own handler had the last event.
  Mask maskTheHostSaw() { return maskOf(received().back().warehouseMask); }
};

TEST_F(ScreenLock, TheDocumentScreenLocksAroundTheHostsOwnHandlingAndPutsItsValuesBackOnClose) {
  activate();
  pickingHost = &host();
  documentScreensOwn = screen(815).cells[0];
  screen(815).cells[0] = &ownHandlerThatPicksOn2300;

  send(815, 0, kOpen);
  EXPECT_EQ(received().back().currentWarehouse, kAssignedWarehouse) << "locked before the host opens";
  EXPECT_EQ(maskTheHostSaw(), lockMask(kAssignedWarehouse));
  EXPECT_EQ(defaultWarehouse(), kAssignedWarehouse);
  EXPECT_EQ(suspendedSetting(), 0);

  send(815, 0x2300, kKey);
  EXPECT_EQ(maskTheHostSaw(), kHostMask) << "the host handles 0x2300 under its own mask";
  EXPECT_EQ(hostMask(), kPickedMask) << "and what it left stays in place";

  send(815, 0x4007, kKey);
  EXPECT_EQ(maskTheHostSaw(), lockMask(kAssignedWarehouse)) << "locked before the host has 0x4007";

  send(815, 0x2300, kKey);
  EXPECT_EQ(maskTheHostSaw(), kPickedMask) << "the snapshot was taken again after the last 0x2300";
  send(815, 0x4123, kKey);
  EXPECT_EQ(maskTheHostSaw(), lockMask(kAssignedWarehouse)) << "locked before the host has 0x4123";

  send(815, 0x2300, kKey);
  send(815, 0x4150, kKey);
  EXPECT_EQ(maskTheHostSaw(), kPickedMask) << "the host has 0x4150 first";
  EXPECT_EQ(hostMask(), lockMask(kAssignedWarehouse)) << "and the lock comes back after it";

  send(815, 0, kClose);
  EXPECT_EQ(maskTheHostSaw(), kPickedMask) << "the host closes with its values back";
  EXPECT_EQ(hostMask(), kPickedMask);
  EXPECT_EQ(defaultWarehouse(), kHostWarehouse);
  EXPECT_EQ(suspendedSetting(), kHostSetting);
  EXPECT_EQ(host().session.currentWarehouse, kAssignedWarehouse) << "the current warehouse is not put back";
  EXPECT_EQ(received().size(), 8u) << "every event reached the host";
}

TEST_F(ScreenLock, ItemLists780And2201LockBeforeTheHostOpensThemAndTheDocumentScreenReleases) {
  for (const int16_t id : {int16_t{780}, int16_t{2201}}) {
    SCOPED_TRACE(id);
    restart("full");
    prepareHost();
    activate();

    send(815, 0, kOpen);
    send(815, 0x2300, kKey);  // the host's mask is back in place
    send(id, 0, kOpen);
    EXPECT_EQ(maskTheHostSaw(), lockMask(kAssignedWarehouse));
    EXPECT_EQ(received().back().currentWarehouse, kAssignedWarehouse);
    send(id, 0, kClose);
    EXPECT_EQ(hostMask(), lockMask(kAssignedWarehouse)) << "the item list does not release";

    send(815, 0, kClose);
    EXPECT_EQ(hostMask(), kHostMask);
    EXPECT_EQ(defaultWarehouse(), kHostWarehouse);
    EXPECT_EQ(suspendedSetting(), kHostSetting);
  }
}

TEST_F(ScreenLock, WithoutAPreviousHandlerKey4150StillLocksAndGivesZero) {
  screen(815).hookGivesNoCell = true;
  activate();
  EXPECT_EQ(send(815, 0x4150, kKey), 0);
  EXPECT_EQ(hostMask(), lockMask(kAssignedWarehouse));
  EXPECT_EQ(host().session.currentWarehouse, kAssignedWarehouse);
}

}  // namespace
