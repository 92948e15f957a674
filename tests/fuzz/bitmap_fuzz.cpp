// The picture decoder: any bytes give a bitmap whose every scan line can be read, or an
// Exception.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "pdf/Bitmap.h"
#include "rtl/Exception.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        auto bitmap = mlt::TBitmap::LoadFromMemory({reinterpret_cast<const char*>(data), size}, "fuzz");
        if (bitmap->Width() <= 0 || bitmap->Height() <= 0) std::abort();
        unsigned sum = 0;
        for (int row = 0; row < bitmap->Height(); ++row) {
            const std::uint8_t* line = bitmap->ScanLine(row);
            sum += line[0] + line[bitmap->Width() * mlt::TBitmap::BytesPerPixel - 1];
        }
        // Reading the pixels back proves they were written; the volatile keeps the reads.
        static volatile unsigned sink;
        sink = sink + sum;
    } catch (const mlt::Exception&) {
    }
    return 0;
}
