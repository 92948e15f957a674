// TDorvexStyle: the odd and even row colours of an export, chosen by a named style.
// Choosing a different style loads both colours from the style table; choosing the
// current one changes nothing, so colours set by hand afterwards survive.
#pragma once

#include <string>
#include <string_view>

#include "rtl/Colors.h"
#include "rtl/Persistent.h"

namespace mlt {

enum TDvxStyle {
    esNormal, esPriceList, esMSMoney, esBrick, esDesert, esEggplant, esLilac, esMaple, esMarine, esRose, esSpruce,
    esWheat
};
constexpr int kStyleCount = 12;

// "normal", "pricelist", "msmoney", "brick", ... : the style's name without its prefix,
// in lower case.
std::string StyleName(TDvxStyle style);
// The style of that name, ignoring case; false when there is none.
bool FindStyle(std::string_view name, TDvxStyle& style);

class TDorvexStyle : public TPersistent {
public:
    std::string ClassName() const override { return "TDorvexStyle"; }
    void Assign(const TPersistent& source) override;

    TDvxStyle Style() const { return style_; }
    void SetStyle(TDvxStyle style);

    TColor OddColor = clBlack;
    TColor EvenColor = clBlack;

private:
    TDvxStyle style_ = esNormal;
};

}  // namespace mlt
