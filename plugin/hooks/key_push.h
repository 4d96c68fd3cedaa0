// The single F7 push for users who may not change the warehouse.
#pragma once

#include <cstdint>

namespace kamoria {

// Shared by screens 2171 and 2201; only ever raised from 0 to 1, so F7 goes
// out at most once until the document screen resets it.
extern int16_t keyPushCount;

// Every event but the opening of screens 2171 and 2201 runs this first.
void pushF7OnceForRestrictedUser();
void resetKeyPushCount();

}  // namespace kamoria
