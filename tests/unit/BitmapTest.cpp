#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pdf/Bitmap.h"
#include "pdf/fonts/Flate.h"
#include "rtl/Exception.h"

namespace mlt {
namespace {

// A GIF logical screen descriptor only: signature, width and height (little-endian), no
// colour table, then the trailer. The decoder would allocate width x height x 4 bytes
// twice before it finds that no image follows.
std::string GifHeader(int width, int height) {
    std::string gif = "GIF89a";
    for (int value : {width, height}) {
        gif += static_cast<char>(value & 0xFF);
        gif += static_cast<char>(value >> 8);
    }
    return gif.append("\0\0\0;", 4);
}

TEST(Bitmap, RefusesAHugePictureBeforeDecodingIt) {
    try {
        TBitmap::LoadFromMemory(GifHeader(65535, 65535), "field Photo");
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_NE(e.Message.find("field Photo"), std::string::npos) << e.Message;
        EXPECT_NE(e.Message.find("too large (65535 x 65535 pixels)"), std::string::npos) << e.Message;
    }
    // At the limit the size alone is no reason to refuse: the missing image is.
    try {
        TBitmap::LoadFromMemory(GifHeader(4096, 4096), "field Photo");
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message.find("too large"), std::string::npos) << e.Message;
    }
}

TEST(Bitmap, RefusesAPictureOfNoRows) {
    // A 24-bit BMP whose header says 62210 pixels wide and 0 rows high, as a fuzzer found.
    std::string bmp = "BM";
    bmp.append(8, '\0').append("\x36\0\0\0\x28\0\0\0\x02\xF3\0\0\0\0\0\0\x01\0\x18\0", 20).append(24, '\0');
    try {
        TBitmap::LoadFromMemory(bmp, "field Photo");
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_NE(e.Message.find("no pixels (62210 x 0)"), std::string::npos) << e.Message;
    }
}

std::string Base64(std::string_view text) {
    static const std::string digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string bytes;
    unsigned bits = 0, count = 0;
    for (char c : text) {
        if (c == '=') break;
        bits = bits << 6 | static_cast<unsigned>(digits.find(c));
        if ((count += 6) >= 8) bytes += static_cast<char>(bits >> (count -= 8) & 0xFF);
    }
    return bytes;
}

// Headers whose sizes and counts the decoder would trust: each is refused before decoding,
// with a reason that names the field.
TEST(Bitmap, RefusesUntrustworthyFieldsBeforeDecoding) {
    // A PNG of 1 x 1 pixels whose IDAT claims 0x60000000 bytes (1.5 GiB); 90 bytes in all.
    std::string png("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\0\x01\0\0\0\x01\x08\x02\0\0\0\x90\x77\x53\xDE", 33);
    png.append("\x60\0\0\0IDAT", 8).append(49, 'x');
    // A DHT segment of 19 bytes (its length, the class byte, 16 counts) whose first two
    // counts say 255 codes each.
    std::string dht("\xFF\xD8\xFF\xC4\0\x13\0\xFF\xFF", 9);
    dht.append(14, '\0');
    // A PNG of 1 x 1 pixels (4 bytes unpacked) whose IDAT unpacks to 4 MiB, from 4 KB.
    std::string bomb = png.substr(0, 33);
    const std::string zlib = TFlateCompressor(9).Compress(std::string(std::size_t{4} << 20, '\0'));
    for (int shift = 24; shift >= 0; shift -= 8) bomb += static_cast<char>(zlib.size() >> shift & 0xFF);
    bomb.append("IDAT").append(zlib).append(4, '\0').append("\0\0\0\0IEND\xAE\x42\x60\x82", 12);
    const struct {
        std::string data;
        std::string reason;
    } cases[] = {
        // 12,384 x -24,194 pixels (a top-down BMP) in 31 bytes, and 591 x -262,358 in 41.
        {Base64("Qk1OAAAAAAAAALUAAAAoAAAAYDAAAH6h//8BAAEAAA=="), "too large (12384 x -24194 pixels)"},
        {Base64("Qk1O//9fwAACgMAAAAAoAAAATwIAACr/+/8BAAQAAAAAAAAAysqByso="), "too large (591 x -262358 pixels)"},
        // FF D8, fill bytes, then a DHT segment that claims 65358 bytes of the 7 left.
        {Base64("/9j/////xP9OAAD//38="), "the JPEG segment at byte 5 claims 65358 bytes, 7 are present"},
        {dht, "a JPEG Huffman table (DHT) at byte 2 counts 510 codes, at most 256 are possible"},
        // The same after fill bytes before the start marker and after padding between
        // segments, both of which the decoder skips.
        {"\xFF\xFF" + dht.substr(1), "a JPEG Huffman table (DHT) at byte 3 counts 510 codes"},
        {std::string("\xFF\xD8\xFF\xFE\0\x02pad", 9) + dht.substr(2), "a JPEG Huffman table (DHT) at byte 9 counts 510 codes"},
        {png, "the PNG chunk IDAT at byte 33 claims 1610612736 bytes, 45 are present"},
        {bomb, "its data unpacks to more than 1 x 1 pixels need"},
    };
    for (const auto& c : cases) {
        try {
            TBitmap::LoadFromMemory(c.data, "field Photo");
            ADD_FAILURE() << c.reason << ": no exception";
        } catch (const Exception& e) {
            EXPECT_NE(e.Message.find("The data of field Photo is not a picture"), std::string::npos) << e.Message;
            EXPECT_NE(e.Message.find(c.reason), std::string::npos) << e.Message;
        }
    }
    EXPECT_EQ(png.size(), 90u);
}

TEST(Bitmap, ReadsATopDownBmp) {
    // 1 x -2 pixels at 24 bits: the first stored row (red) is the top one.
    std::string bmp("BM\x3E\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x01\0\0\0\xFE\xFF\xFF\xFF\x01\0\x18\0", 30);
    bmp.append(24, '\0').append("\0\0\xFF\0\0\xFF\0\0", 8);
    auto bitmap = TBitmap::LoadFromMemory(bmp, "field Photo");
    ASSERT_EQ(bitmap->Height(), 2);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bitmap->ScanLine(0)), 3), std::string("\xFF\0\0", 3));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bitmap->ScanLine(1)), 3), std::string("\0\xFF\0", 3));
}

}  // namespace
}  // namespace mlt
