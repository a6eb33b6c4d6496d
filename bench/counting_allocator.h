// Counts heap allocations made through global operator new, so a benchmark can
// report allocations per iteration.
#pragma once

#include <cstddef>

namespace cubrix::bench {

std::size_t allocationCount();

}  // namespace cubrix::bench
