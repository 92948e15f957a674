#include "pdf/Bitmap.h"

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "pdf/PictureFields.h"
#include "rtl/Exception.h"

namespace mlt {
namespace {

// The most bytes one allocation of the decoder may take for the picture it decodes, set
// from the picture's dimensions: a PNG's compressed data can unpack to a thousand times its
// size whatever the dimensions say, and the decoder grows its buffer for all of it.
thread_local std::size_t decoderLimit = SIZE_MAX;
thread_local bool decoderLimitHit = false;

void* DecoderAllocate(void* old, std::size_t bytes) {
    if (bytes > decoderLimit) {
        decoderLimitHit = true;
        return nullptr;
    }
    return std::realloc(old, bytes);
}

}  // namespace
}  // namespace mlt

#define STBI_MALLOC(bytes) mlt::DecoderAllocate(nullptr, bytes)
#define STBI_REALLOC(old, bytes) mlt::DecoderAllocate(old, bytes)
#define STBI_FREE(block) std::free(block)
#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_ONLY_BMP
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_GIF
#include <stb_image.h>

namespace mlt {

namespace {

// A decoder's buffer holds at most 8 bytes a pixel (16-bit RGBA) and a byte a row, and it
// doubles a growing buffer once past that; the decoder's own state takes less than 1 MiB.
std::size_t DecoderLimit(std::int64_t pixels) {
    return static_cast<std::size_t>(18 * pixels) + (std::size_t{1} << 20);
}

[[noreturn]] void RaiseNoPicture(std::string_view sourceName, std::string_view reason) {
    std::string message = "The data of ";
    message.append(sourceName).append(" is not a picture (BMP, PNG, JPEG or GIF): ").append(reason);
    throw Exception(std::move(message));
}

}  // namespace

void TBitmap::PixelsFree::operator()(std::uint8_t* pixels) const { stbi_image_free(pixels); }

std::unique_ptr<TBitmap> TBitmap::LoadFromMemory(std::string_view data, std::string_view sourceName) {
    if (data.empty()) RaiseNoPicture(sourceName, "no data");
    if (data.size() > static_cast<std::size_t>(INT_MAX)) RaiseNoPicture(sourceName, "too large");
    int width = 0, height = 0, channels = 0;
    const auto* bytes = reinterpret_cast<const stbi_uc*>(data.data());
    const int size = static_cast<int>(data.size());
    // A header can claim any size or count: refuse a bad one before the decoder trusts it,
    // and a huge picture before the decoder allocates it. A top-down BMP has a negative height.
    if (std::string bad = FindBadPictureField(data); !bad.empty()) RaiseNoPicture(sourceName, bad);
    decoderLimit = DecoderLimit(MaxPixels);
    decoderLimitHit = false;
    if (stbi_info_from_memory(bytes, size, &width, &height, &channels)) {
        const std::int64_t claimed = std::abs(std::int64_t{width} * height);
        if (claimed > MaxPixels)
            RaiseNoPicture(sourceName, "too large (" + std::to_string(width) + " x " + std::to_string(height) + " pixels)");
        decoderLimit = DecoderLimit(claimed);
    }
    const int claimedWidth = width, claimedHeight = height;
    std::uint8_t* pixels = stbi_load_from_memory(bytes, size, &width, &height, &channels, BytesPerPixel);
    decoderLimit = SIZE_MAX;
    if (!pixels && decoderLimitHit)
        RaiseNoPicture(sourceName, "its data unpacks to more than " + std::to_string(claimedWidth) + " x " +
                                       std::to_string(std::abs(claimedHeight)) + " pixels need");
    if (!pixels) RaiseNoPicture(sourceName, stbi_failure_reason());
    auto bitmap = std::unique_ptr<TBitmap>(new TBitmap(width, height, pixels));
    // The BMP decoder accepts a header of no rows; such a picture has nothing to show.
    if (width <= 0 || height <= 0)
        RaiseNoPicture(sourceName, "no pixels (" + std::to_string(width) + " x " + std::to_string(height) + ")");
    return bitmap;
}

}  // namespace mlt
