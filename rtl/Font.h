// TFont: a font description copied attribute by attribute. A new font has the platform's
// defaults: Arial, 8 points, the system colour window text, no style.
#pragma once

#include <cstdint>
#include <string>

#include "rtl/Colors.h"
#include "rtl/Persistent.h"

namespace mlt {

enum TFontStyle : std::uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = std::uint8_t;

class TFont : public TPersistent {
public:
    TFont() = default;
    TFont(const TFont&) = default;
    TFont& operator=(const TFont&) = default;

    std::string ClassName() const override { return "TFont"; }
    void Assign(const TPersistent& source) override;
    // The same for a source known to be a font, as every cell of a report does.
    void Assign(const TFont& font) {
        Name = font.Name;
        Size = font.Size;
        Color = font.Color;
        Style = font.Style;
    }
    void GetPublishedProperties(TPropList& list) const override;

    bool HasStyle(TFontStyle style) const { return (Style & style) != 0; }

    std::string Name = "Arial";
    int Size = 8;
    TColor Color = clWindowText;
    TFontStyles Style = 0;
};

}  // namespace mlt
