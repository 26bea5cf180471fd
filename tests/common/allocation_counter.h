// Counts the allocations of a test program while a probe is open. It replaces the global
// operator new: include it in exactly one file of a test program.
#pragma once

#include <cstdlib>
#include <new>

namespace kora::test {

struct AllocationCounter {
    static inline bool counting = false;
    static inline long allocations = 0;
};

// Counts the allocations made by f.
template <typename F> long AllocationsOf(F&& f) {
    AllocationCounter::allocations = 0;
    AllocationCounter::counting = true;
    f();
    AllocationCounter::counting = false;
    return AllocationCounter::allocations;
}

} // namespace kora::test

// The replacements pair malloc with free; GCC cannot see that once it inlines them into code
// compiled with the library's operator new, and warns of a mismatch that is not there.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
    if (kora::test::AllocationCounter::counting) ++kora::test::AllocationCounter::allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

#pragma GCC diagnostic pop
