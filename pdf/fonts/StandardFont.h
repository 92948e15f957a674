// TStandardFont: one of the standard PDF fonts (not embedded), over text in the system
// code page shown with WinAnsiEncoding, measured with the published character widths.
#pragma once

#include <string_view>

#include "pdf/fonts/ReportFont.h"
#include "pdf/fonts/StandardFontMetrics.h"

namespace mlt {

class TStandardFont : public TReportFont {
public:
    // The font of that PDF name (Helvetica, Times-Bold, ...); Helvetica for another name.
    explicit TStandardFont(std::string_view name) : metrics_(FindStandardFontMetrics(name)) {}

    double Measure(std::string_view text, double size) const override;
    std::size_t Fit(std::string_view text, double size, double width) const override;
    std::string_view Ellipsis() const override { return "\x85"; }
    double Ascent() const override { return metrics_.Box.Top; }
    double Descent() const override { return metrics_.Box.Bottom; }
    void ShowText(std::string& out, std::string_view text, double size) override;
    void WriteObjects(TObjectWriter& writer, std::int64_t fontObject) override;

private:
    const TStandardFontMetrics& metrics_;
};

}  // namespace mlt
