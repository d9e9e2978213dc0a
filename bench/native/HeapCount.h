// The bytes the program holds from operator new, counted by the benchmark
// binary's own operator new and delete (every allocation of the standard
// containers goes through them).
#pragma once

#include <cstddef>

namespace luma {

std::size_t HeapBytesInUse();

}  // namespace luma
