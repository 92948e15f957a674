// The metrics of the standard PDF fonts (Courier, Helvetica and Times in four styles, and
// ZapfDingbats): character widths in 1/1000 em by WinAnsiEncoding code (ZapfDingbats by
// its own codes), and the vertical extent of the font's bounding box. The table is
// generated from AFM files by generate_standard_font_metrics.py.
#pragma once

#include <array>
#include <string_view>

namespace mlt {

struct TStandardFontMetrics {
    std::string_view Name;  // the PDF BaseFont name
    struct {
        int Bottom;  // the bounding box's lowest and highest points, 1/1000 em
        int Top;
    } Box;
    std::array<short, 256> Widths;
};

extern const std::array<TStandardFontMetrics, 13> kStandardFontMetrics;

// The metrics of a standard font by its PDF name; Helvetica's for an unknown name.
const TStandardFontMetrics& FindStandardFontMetrics(std::string_view name);

}  // namespace mlt
