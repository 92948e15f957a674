#include "pdf/PictureFields.h"

#include <climits>
#include <cstdint>

namespace mlt {

namespace {

std::uint32_t Byte(std::string_view data, std::size_t at) { return static_cast<unsigned char>(data[at]); }
std::uint32_t Big16(std::string_view data, std::size_t at) { return Byte(data, at) << 8 | Byte(data, at + 1); }
std::uint32_t Big32(std::string_view data, std::size_t at) { return Big16(data, at) << 16 | Big16(data, at + 2); }
std::uint32_t Little16(std::string_view data, std::size_t at) { return Byte(data, at + 1) << 8 | Byte(data, at); }
std::int32_t Little32(std::string_view data, std::size_t at) {
    return static_cast<std::int32_t>(Little16(data, at + 2) << 16 | Little16(data, at));
}

std::string Claims(std::string_view what, std::size_t at, std::uint64_t claimed, std::size_t present) {
    return std::string(what) + " at byte " + std::to_string(at) + " claims " + std::to_string(claimed) +
           " bytes, " + std::to_string(present) + " are present";
}

// A chunk is a 4-byte length, a 4-byte type, the data and a 4-byte CRC; every chunk up to
// IEND must lie inside the data, since the decoder sizes its buffers from the lengths.
std::string CheckPng(std::string_view data) {
    std::size_t at = 8;
    while (at < data.size()) {
        const std::size_t left = data.size() - at;
        if (left < 12) return "a PNG chunk at byte " + std::to_string(at) + " is cut short";
        const std::uint64_t length = Big32(data, at);
        const std::string type(data.substr(at + 4, 4));
        if (length > left - 12) return Claims("the PNG chunk " + type, at, length, left - 12);
        if (type == "IEND") break;
        at += 12 + length;
    }
    return {};
}

// Checks one DHT segment's tables: a class and slot, 16 code counts that sum to at most
// 256 (the decoder's symbol table), then that many symbols.
std::string CheckHuffmanTables(std::string_view segment, std::size_t at) {
    std::size_t pos = 0;
    while (pos < segment.size()) {
        if (segment.size() - pos < 17) return "a JPEG Huffman table (DHT) at byte " + std::to_string(at) + " is cut short";
        std::uint32_t codes = 0;
        for (std::size_t i = 1; i <= 16; ++i) codes += Byte(segment, pos + i);
        if (codes > 256)
            return "a JPEG Huffman table (DHT) at byte " + std::to_string(at) + " counts " + std::to_string(codes) +
                   " codes, at most 256 are possible";
        if (codes > segment.size() - pos - 17)
            return "a JPEG Huffman table (DHT) at byte " + std::to_string(at) + " lists " + std::to_string(codes) +
                   " codes past its segment's end";
        pos += 17 + codes;
    }
    return {};
}

// Walks the markers from `at`, after the start marker: every segment's length must lie
// inside the data; after a scan header (SOS) the entropy-coded bytes run to the next marker
// that is not a restart marker.
std::string CheckJpeg(std::string_view data, std::size_t at) {
    while (at < data.size()) {
        // Other bytes before a marker: the decoder scans over them to the next one (it
        // refuses them only after the frame header), so the walk does too.
        at = data.find('\xFF', at);
        if (at == std::string_view::npos) break;
        while (at < data.size() && Byte(data, at) == 0xFF) ++at;
        if (at >= data.size()) break;
        const std::uint32_t marker = Byte(data, at++);
        if (marker == 0xD9) break;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;
        const std::size_t segmentAt = at - 2;
        if (data.size() - at < 2) return "a JPEG segment at byte " + std::to_string(segmentAt) + " is cut short";
        const std::uint32_t length = Big16(data, at);
        if (length < 2 || length > data.size() - at)
            return Claims("the JPEG segment", segmentAt, length, data.size() - at);
        const std::string_view body = data.substr(at + 2, length - 2);
        at += length;
        if (marker == 0xC4) {
            std::string bad = CheckHuffmanTables(body, segmentAt);
            if (!bad.empty()) return bad;
        }
        if (marker == 0xDA) {
            while (at + 1 < data.size() &&
                   !(Byte(data, at) == 0xFF && Byte(data, at + 1) != 0 && (Byte(data, at + 1) & 0xF8) != 0xD0))
                ++at;
        }
    }
    return {};
}

std::string CheckGif(std::string_view data) {
    if (data.size() < 10) return "the GIF screen descriptor is cut short";
    const std::uint32_t width = Little16(data, 6), height = Little16(data, 8);
    if (width == 0 || height == 0)
        return "the GIF screen is " + std::to_string(width) + " x " + std::to_string(height) + " pixels";
    return {};
}

// A negative BMP height is a picture stored from the top down; the decoder takes its
// absolute value, which the lowest int does not have.
std::string CheckBmp(std::string_view data) {
    if (data.size() < 26 || Little32(data, 14) == 12) return {};
    if (Little32(data, 22) == INT_MIN) return "the BMP height is " + std::to_string(INT_MIN);
    return {};
}

}  // namespace

std::string FindBadPictureField(std::string_view data) {
    if (data.starts_with("\x89PNG\r\n\x1A\n")) return CheckPng(data);
    // The JPEG decoder skips fill bytes (0xFF) before every marker, the start marker too.
    if (const std::size_t soi = data.find_first_not_of('\xFF'); soi > 0 && soi != std::string_view::npos &&
                                                                  Byte(data, soi) == 0xD8)
        return CheckJpeg(data, soi + 1);
    if (data.starts_with("GIF8")) return CheckGif(data);
    if (data.starts_with("BM")) return CheckBmp(data);
    return {};
}

}  // namespace mlt
