// Record buffers that end where readable memory ends, so that reading one
// byte past a record faults at once instead of passing unnoticed.
#pragma once

#include <cstddef>

namespace weltor {

// A zeroed buffer of `size` bytes whose last byte is followed by an
// unreadable page. Lives as long as the host module.
unsigned char* allocateGuarded(std::size_t size);

}  // namespace weltor
