// The host loads the plug-in, asks for its description, activates it and
// takes it down again.
#include <cstring>

#include "support/host_test.h"

namespace {

using testing_support::HostTest;

int32_t featuresPresent(int32_t, int32_t) { return 1; }

class Lifecycle : public HostTest {};

TEST_F(Lifecycle, DescribeCopiesTheWholeDescriptionAndActivates) {
  char buffer[64];
  std::memset(buffer, '#', sizeof buffer);
  ASSERT_EQ(entry30001(&featuresPresent, buffer), 0);
  const char expected[] = "Ustaw magazyn,zakaz zmiany.\nStany na innych magazynach.";
  EXPECT_EQ(std::memcmp(buffer, expected, sizeof expected), 0);
  EXPECT_EQ(buffer[56], '#') << "exactly 56 bytes are copied";
}

}  // namespace
