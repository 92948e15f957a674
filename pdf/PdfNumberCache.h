// TPdfNumberCache: content-stream numbers (two decimals, then a blank) kept by value. A
// table's pages repeat the same few positions, widths and moves at every row, so most
// numbers are copied rather than formatted again.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>

#include "pdf/fonts/PdfNumber.h"

namespace mlt {

class TPdfNumberCache {
public:
    // Room that Put needs at `at`.
    static constexpr std::size_t kRoom = kPdfNumberChars + 1;

    // Writes the number and a blank at `at`; returns their end.
    char* Put(char* at, double value) {
        std::uint64_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        TEntry& entry = entries_[(bits * 0x9E3779B97F4A7C15ULL) >> 56];
        if (entry.Length == 0 || entry.Bits != bits) {
            char* end = WritePdfNumber(at, value, 2);
            *end++ = ' ';
            const auto length = static_cast<std::size_t>(end - at);
            if (length > sizeof entry.Text) return end;
            entry.Bits = bits;
            entry.Length = static_cast<std::uint8_t>(length);
            std::memcpy(entry.Text, at, length);
            return end;
        }
        std::memcpy(at, entry.Text, sizeof entry.Text);  // all of it: one fixed-size copy
        return at + entry.Length;
    }

private:
    struct TEntry {
        std::uint64_t Bits = 0;
        std::uint8_t Length = 0;  // 0: empty
        char Text[23] = {};
    };
    std::array<TEntry, 256> entries_{};
};

}  // namespace mlt
