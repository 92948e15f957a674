// TBitmap: a picture decoded to 24 bits per pixel, rows from the top down, each row
// red-green-blue byte triples. LoadFromMemory decodes BMP, PNG, JPEG and GIF (its first
// frame), bringing palettes, grey levels and alpha to plain RGB; data that is no such
// picture, or one of more than MaxPixels pixels, raises an Exception whose message names
// the source and the reason.
// A bitmap owns its pixels and is moved, never copied.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

namespace mlt {

class TBitmap {
public:
    static constexpr int BytesPerPixel = 3;
#ifndef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
    // 4096 x 4096: far beyond any picture in a table cell, and 48 MiB decoded.
    static constexpr std::int64_t MaxPixels = 4096 * 4096;
#else
    // The fuzzers decode at most 1024 x 1024 pixels: the GIF decoder clears 9 bytes a pixel
    // of its screen before it reads a frame, which at the full size took four fifths of a
    // fuzzing run. Every decoding path is the same at both sizes.
    static constexpr std::int64_t MaxPixels = 1024 * 1024;
#endif

    static std::unique_ptr<TBitmap> LoadFromMemory(std::string_view data, std::string_view sourceName);

    int Width() const { return width_; }
    int Height() const { return height_; }
    // The Width() pixels of row `row`, 0 being the top row.
    const std::uint8_t* ScanLine(int row) const {
        return pixels_.get() + static_cast<std::size_t>(row) * static_cast<std::size_t>(width_) * BytesPerPixel;
    }

private:
    struct PixelsFree {
        void operator()(std::uint8_t* pixels) const;
    };

    TBitmap(int width, int height, std::uint8_t* pixels) : width_(width), height_(height), pixels_(pixels) {}

    int width_;
    int height_;
    std::unique_ptr<std::uint8_t, PixelsFree> pixels_;
};

}  // namespace mlt
