#include "pdf/Bitmap.h"

#include <climits>
#include <cstdlib>
#include <string>

#include "pdf/PictureFields.h"
#include "rtl/Exception.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_ONLY_BMP
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_GIF
#include <stb_image.h>

namespace mlt {

namespace {

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
    if (stbi_info_from_memory(bytes, size, &width, &height, &channels) &&
        std::abs(std::int64_t{width} * height) > MaxPixels)
        RaiseNoPicture(sourceName, "too large (" + std::to_string(width) + " x " + std::to_string(height) + " pixels)");
    std::uint8_t* pixels = stbi_load_from_memory(bytes, size, &width, &height, &channels, BytesPerPixel);
    if (!pixels) RaiseNoPicture(sourceName, stbi_failure_reason());
    auto bitmap = std::unique_ptr<TBitmap>(new TBitmap(width, height, pixels));
    // The BMP decoder accepts a header of no rows; such a picture has nothing to show.
    if (width <= 0 || height <= 0)
        RaiseNoPicture(sourceName, "no pixels (" + std::to_string(width) + " x " + std::to_string(height) + ")");
    return bitmap;
}

}  // namespace mlt
