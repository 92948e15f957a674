#include "export/DorvexStyle.h"

#include <array>

#include "rtl/TextUtils.h"

namespace mlt {

namespace {

struct StyleEntry {
    const char* Name;
    TColor Odd;
    TColor Even;
};

constexpr std::array<StyleEntry, kStyleCount> kStyles = {{
    {"normal", clWindow, clWindow},
    {"pricelist", cl3DLight, clWindow},
    {"msmoney", 0x00FFFBF0, clWindow},
    {"brick", 0x00CFDFDF, 0x00A0BFBF},
    {"desert", 0x00B8CCD8, 0x00688CA0},
    {"eggplant", 0x00A8B090, 0x00788058},
    {"lilac", 0x00D8A8B0, 0x00B05058},
    {"maple", 0x00A8D8EB, 0x0048A8C8},
    {"marine", 0x00B8C088, 0x00889048},
    {"rose", 0x00B8B0D0, 0x007060A0},
    {"spruce", 0x00A8C8A0, 0x00689858},
    {"wheat", 0x00A0E0E0, 0x0040BCC0},
}};

}  // namespace

std::string StyleName(TDvxStyle style) { return kStyles.at(static_cast<std::size_t>(style)).Name; }

bool FindStyle(std::string_view name, TDvxStyle& style) {
    for (std::size_t i = 0; i < kStyles.size(); ++i)
        if (SameText(name, kStyles[i].Name)) {
            style = static_cast<TDvxStyle>(i);
            return true;
        }
    return false;
}

void TDorvexStyle::SetStyle(TDvxStyle style) {
    if (style == style_) return;
    style_ = style;
    OddColor = kStyles.at(static_cast<std::size_t>(style)).Odd;
    EvenColor = kStyles.at(static_cast<std::size_t>(style)).Even;
}

void TDorvexStyle::Assign(const TPersistent& source) {
    if (auto* other = dynamic_cast<const TDorvexStyle*>(&source)) {
        SetStyle(other->style_);
        OddColor = other->OddColor;
        EvenColor = other->EvenColor;
        return;
    }
    TPersistent::Assign(source);
}

}  // namespace mlt
