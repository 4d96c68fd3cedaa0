// Host objects that live in the plug-in's storage go back to the host from a
// destructor, on every way out of their scope.
#pragma once

#include <exception>

namespace kamoria {

// Gives a host object back. A fault of the release itself goes on to the
// caller like any other host fault, unless one is already on its way out:
// two at once would end the host's process. The destructor that calls this
// must be noexcept(false) and pass the count of faults in flight when its
// object was made.
template <class Release>
void releaseFromDestructor(int faultsInFlightAtStart, Release release) {
  if (std::uncaught_exceptions() == faultsInFlightAtStart) {
    release();
    return;
  }
  try {
    release();
  } catch (...) {
  }
}

}  // namespace kamoria
