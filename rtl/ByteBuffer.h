// TByteBuffer: a growable byte array whose new bytes are left as they are, not zeroed. The
// output buffers are always written before they are read, so zeroing them would only cost
// time, and touch memory (a page fault for each page) that a small report never uses.
#pragma once

#include <memory>
#include <new>
#include <vector>

namespace mlt {

template <class T>
struct TUninitializedAllocator : std::allocator<T> {
    template <class U>
    struct rebind {
        using other = TUninitializedAllocator<U>;
    };
    TUninitializedAllocator() = default;
    template <class U>
    TUninitializedAllocator(const TUninitializedAllocator<U>&) noexcept {}

    // A value-initialized element (what resize adds) is default-initialized instead.
    template <class U>
    void construct(U* at) noexcept {
        ::new (static_cast<void*>(at)) U;
    }
    template <class U, class... Args>
    void construct(U* at, Args&&... args) {
        ::new (static_cast<void*>(at)) U(std::forward<Args>(args)...);
    }
};

using TByteBuffer = std::vector<char, TUninitializedAllocator<char>>;

}  // namespace mlt
