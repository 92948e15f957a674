// Lines of PDF text, built without allocating. The Put functions write integers, texts and
// escaped literals at a position that the caller has made room for, and return the end;
// TPDFLine builds lines of any length, such as those that carry cell text, in a buffer
// that is reused line after line and grows only while the longest line grows. Numbers
// are written two digits at a time.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace mlt {

namespace pdfline {

constexpr std::size_t kMaxNumberLength = 20;  // -9223372036854775808

constexpr std::array<char, 200> kDigitPairs = [] {
    std::array<char, 200> pairs{};
    for (int i = 0; i < 100; ++i) {
        pairs[static_cast<std::size_t>(2 * i)] = static_cast<char>('0' + i / 10);
        pairs[static_cast<std::size_t>(2 * i + 1)] = static_cast<char>('0' + i % 10);
    }
    return pairs;
}();

inline std::size_t DigitCount(std::uint64_t value) {
    std::size_t count = 1;
    for (; value >= 10000; value /= 10000) count += 4;
    return count + (value >= 10) + (value >= 100) + (value >= 1000);
}

// 0 .. 9999, left-aligned in four characters each, with their lengths: nearly every
// number on a page is such a coordinate or size.
constexpr std::size_t kSmallNumbers = 10000;
struct TSmallNumbers {
    std::array<char, 4 * kSmallNumbers> Digits{};
    std::array<std::uint8_t, kSmallNumbers> Lengths{};
};
constexpr TSmallNumbers kSmall = [] {
    TSmallNumbers table;
    for (std::size_t n = 0; n < kSmallNumbers; ++n) {
        std::size_t length = n >= 1000 ? 4 : n >= 100 ? 3 : n >= 10 ? 2 : 1;
        for (std::size_t i = 0, rest = n; i < length; ++i, rest /= 10)
            table.Digits[4 * n + length - 1 - i] = static_cast<char>('0' + rest % 10);
        table.Lengths[n] = static_cast<std::uint8_t>(length);
    }
    return table;
}();

// Each Put writes at `at` and returns the end of what it wrote. A number may touch
// kMaxNumberLength characters from `at`, whatever its length.
inline char* Put(char* at, std::int64_t number) {
    if (static_cast<std::uint64_t>(number) < kSmallNumbers) {
        std::memcpy(at, &kSmall.Digits[4 * static_cast<std::size_t>(number)], 4);
        return at + kSmall.Lengths[static_cast<std::size_t>(number)];
    }
    std::uint64_t value = static_cast<std::uint64_t>(number);
    if (number < 0) {
        *at++ = '-';
        value = 0 - value;
    }
    char* end = at + DigitCount(value);
    char* digit = end;
    for (; value >= 100; value /= 100) {
        digit -= 2;
        std::memcpy(digit, &kDigitPairs[2 * (value % 100)], 2);
    }
    if (value >= 10)
        std::memcpy(digit - 2, &kDigitPairs[2 * value], 2);
    else
        digit[-1] = static_cast<char>('0' + value);
    return end;
}

// A literal's length is known when it is compiled, so its copy needs no call.
template <std::size_t N>
char* Put(char* at, const char (&literal)[N]) {
    std::memcpy(at, literal, N - 1);
    return at + N - 1;
}

inline char* Put(char* at, std::string_view text) {
    std::memcpy(at, text.data(), text.size());
    return at + text.size();
}

// True when a byte of the text is a backslash or a parenthesis; eight bytes at a time,
// since nearly no cell text holds one.
inline bool NeedsEscapes(std::string_view bytes) {
    constexpr std::uint64_t kOnes = 0x0101010101010101, kHighs = 0x8080808080808080;
    // A byte of the word is zero exactly where it held `target` (or, for '(' and ')',
    // which differ in the lowest bit only, either of them once that bit is set).
    auto has = [](std::uint64_t word, unsigned char target) {
        const std::uint64_t x = word ^ (kOnes * target);
        return ((x - kOnes) & ~x & kHighs) != 0;
    };
    std::size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + i, 8);
        if (has(word | kOnes, ')') || has(word, '\\')) return true;
    }
    for (; i < bytes.size(); ++i)
        if (bytes[i] == '\\' || bytes[i] == '(' || bytes[i] == ')') return true;
    return false;
}

// The bytes as the contents of a literal string: every backslash and parenthesis is
// preceded by a backslash; everything else, bytes above 127 included, is kept. Needs
// room for twice the text.
inline char* PutLiteral(char* at, std::string_view bytes) {
    if (!NeedsEscapes(bytes)) return Put(at, bytes);
    for (char c : bytes) {
        *at = '\\';
        at += c == '\\' || c == '(' || c == ')';
        *at++ = c;
    }
    return at;
}

}  // namespace pdfline

class TPDFLine {
public:
    TPDFLine& Start() {
        used_ = 0;
        return *this;
    }
    template <std::size_t N>
    TPDFLine& Add(const char (&literal)[N]) {
        used_ = static_cast<std::size_t>(pdfline::Put(Room(N - 1), literal) - buffer_.data());
        return *this;
    }
    TPDFLine& Add(std::string_view text) {
        std::memcpy(Room(text.size()), text.data(), text.size());
        used_ += text.size();
        return *this;
    }
    TPDFLine& Add(std::int64_t number) {
        used_ = static_cast<std::size_t>(pdfline::Put(Room(pdfline::kMaxNumberLength), number) - buffer_.data());
        return *this;
    }
    // The bytes as the contents of a literal string, escaped as PutLiteral does.
    TPDFLine& AddLiteral(std::string_view bytes) {
        used_ = static_cast<std::size_t>(pdfline::PutLiteral(Room(2 * bytes.size()), bytes) - buffer_.data());
        return *this;
    }

    std::string_view View() const { return {buffer_.data(), used_}; }

    // An empty buffer with room for at least `count` bytes, for a caller that writes them
    // itself; Until gives what it wrote.
    char* Reserve(std::size_t count) { return Start().Room(count); }
    std::string_view Until(const char* end) const {
        return {buffer_.data(), static_cast<std::size_t>(end - buffer_.data())};
    }

private:
    // Where `count` more bytes can go.
    char* Room(std::size_t count) {
        if (used_ + count > buffer_.size()) [[unlikely]]
            Grow(count);
        return buffer_.data() + used_;
    }
    [[gnu::noinline]] void Grow(std::size_t count) { buffer_.resize(std::max(2 * buffer_.size(), used_ + count)); }

    std::vector<char> buffer_ = std::vector<char>(256);
    std::size_t used_ = 0;
};

}  // namespace mlt
