// Asking the processor for memory ahead of its use: frames fresh from the
// camera are cold, and a forward read that is asked for a little ahead streams
// in several times faster than one the caches fetch line by line. Hints only:
// they change no result.
#pragma once

#include <cstdint>

// How far ahead of the bytes being read memory is asked for.
constexpr std::uintptr_t kReadAheadBytes = 16384;

// Cache lines of a frame being read asked for after each step of work on a row
// (AskMore): about what the memory delivers while a step runs, so that it
// streams on meanwhile; asking for many more at once would hold the work up
// until the memory has taken them.
constexpr int kLinesBetweenSteps = 16;

// Asks for the cache lines from *next up to `until` (into the second-level
// cache: a first-level prefetch would hold the few first-level miss slots)
// and moves *next past them.
inline void AskForMemory(std::uintptr_t* next, std::uintptr_t until) {
    constexpr std::uintptr_t kLine = 64;
    for (; *next < until; *next += kLine) {
        __builtin_prefetch(reinterpret_cast<const void*>(*next), 0, 2);
    }
}

// Asks for the rows a loop is about to read, given in the order it reads them
// (forward in memory), kReadAheadBytes ahead of the row being read; the memory
// between the rows, which the loop does not touch, is not asked for.
class RowReadAhead {
  public:
    // `rows` holds `count` row addresses, each row rowBytes long; it must
    // outlive this object.
    RowReadAhead(const std::uintptr_t* rows, int count, std::uintptr_t rowBytes)
        : m_rows(rows), m_count(count), m_rowBytes(rowBytes) {}

    // The row at `reading` is being read: asks for every listed row up to
    // kReadAheadBytes past its end.
    void AskAhead(std::uintptr_t reading) {
        Ask(reading + m_rowBytes + kReadAheadBytes, UINTPTR_MAX);
    }

    // Asks for up to `lines` more cache lines of the listed rows past those
    // asked for so far, however far ahead: for a loop that works on other
    // memory between its reads and would leave the memory idle meanwhile.
    void AskMore(int lines) { Ask(UINTPTR_MAX, static_cast<std::uintptr_t>(lines)); }

  private:
    // Asks for the listed rows' lines past those asked for so far, up to the
    // address `until` and at most `lines` of them.
    void Ask(std::uintptr_t until, std::uintptr_t lines) {
        for (; m_at < m_count && lines > 0; ++m_at) {
            const std::uintptr_t end = m_rows[m_at] + m_rowBytes;
            if (m_next < m_rows[m_at]) {
                m_next = m_rows[m_at] & ~std::uintptr_t{63};
            }
            std::uintptr_t stop = end < until ? end : until;
            if (m_next < stop && (stop - m_next + 63) / 64 > lines) {
                stop = m_next + 64 * lines;
            }
            const std::uintptr_t from = m_next;
            AskForMemory(&m_next, stop);
            lines -= (m_next - from) / 64;
            if (m_next < end) {
                return;
            }
        }
    }

    const std::uintptr_t* m_rows;
    int m_count;
    std::uintptr_t m_rowBytes;
    int m_at = 0;
    std::uintptr_t m_next = 0;  // the first address not asked for yet
};
