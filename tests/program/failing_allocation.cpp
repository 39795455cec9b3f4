#include "program/failing_allocation.h"

#include <new>

bool FailingAllocation::failNothrowNew = false;

// Allocates through the ordinary operator new so that the matching plain delete frees it.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (FailingAllocation::failNothrowNew) {
        return nullptr;
    }
    try {
        return ::operator new(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void operator delete(void* pointer, const std::nothrow_t&) noexcept {
    ::operator delete(pointer);
}
