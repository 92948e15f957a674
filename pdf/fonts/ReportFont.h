// TReportFont: a font as the modern report uses it. The writer measures runs of text to
// place and cut them, asks the font for the bytes that show a run, and has the font write
// its own objects when the document ends. A run is text in the form the font takes: the
// system code page for the standard fonts, UTF-8 for an embedded font. Fit and Ellipsis
// let the writer cut a run without knowing that form (a cut never splits a character).
//
// One font serves one document on one thread: ShowText may record what it showed (for
// subsetting), so only the writer's thread calls it. Measure and Fit are const.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "pdf/ObjectWriter.h"

namespace mlt {

class TReportFont {
public:
    virtual ~TReportFont() = default;

    // The advance width of the run at `size` points, in points.
    virtual double Measure(std::string_view text, double size) const = 0;
    // The length in bytes of the longest start of the run that is at most `width` points
    // wide at `size` points, ending on a character boundary.
    virtual std::size_t Fit(std::string_view text, double size, double width) const = 0;
    // The run that ends a cut text: a horizontal ellipsis ("…") in the font's text form.
    virtual std::string_view Ellipsis() const = 0;
    // The highest and lowest points of the font's glyphs, in 1/1000 em from the baseline
    // (Descent is negative): for placing a line of text inside a band.
    virtual double Ascent() const = 0;
    virtual double Descent() const = 0;

    // Appends the operators that show the run at the current text position, with this
    // font already selected (Tf) at `size` points, for example "(Total) Tj".
    virtual void ShowText(std::string& out, std::string_view text, double size) = 0;
    // Writes the font's objects at the document's end. `fontObject` is the number that the
    // pages' resources already name for the font dictionary; further objects (descriptor,
    // widths, font file, ToUnicode) take numbers from the writer.
    virtual void WriteObjects(TObjectWriter& writer, std::int64_t fontObject) = 0;
};

}  // namespace mlt
