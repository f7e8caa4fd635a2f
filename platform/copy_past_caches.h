// Copying a frame's rows into memory that this thread will not read back
// soon: the grabber's frame for the program, a picture for the X server.
// Stores that go past the caches save reading each destination line from
// memory before it is overwritten, and leave the caches to what is read next.
// Hints only: the bytes are the same as memcpy's.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Copies `count` bytes; call FinishCopiesPastCaches after the last row.
inline void CopyRowPastCaches(void* to, const void* from, std::size_t count) {
    auto* dst = static_cast<unsigned char*>(to);
    const auto* src = static_cast<const unsigned char*>(from);
    std::size_t done = 0;
#if defined(__SSE2__)
    done = std::min(count, (16 - reinterpret_cast<std::uintptr_t>(dst) % 16) % 16);
    std::memcpy(dst, src, done);
    for (; done + 16 <= count; done += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + done));
        _mm_stream_si128(reinterpret_cast<__m128i*>(dst + done), bytes);
    }
#endif
    std::memcpy(dst + done, src + done, count - done);
}

// Makes the copies visible to other threads and processes in order with
// what this thread does next.
inline void FinishCopiesPastCaches() {
#if defined(__SSE2__)
    _mm_sfence();
#endif
}
