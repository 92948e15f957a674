// TModernPDF: the modern table report, a descendant of TDorvexToPDF over the same driver
// that writes a document of its own (PDF 1.7). Every page repeats the captions row and
// has a header band (the Title) and a footer band ("Page X of Y", where Y is one form
// object written at the end). Texts are placed by their measured width (TReportFont,
// made by FontFactory: embedded TrueType fonts over UTF-8, or the standard fonts),
// cut with "…" at the cell's edge, and columns are as wide as their widest text (the
// data is read once before the report for this), within the page: the page turns to
// landscape when that makes the table fit (Orientation), else the widest columns shrink.
// The page is never widened. Content streams and pictures are Flate-compressed on a
// thread of their own unless Compress is off. Pictures keep their aspect ratio.
//
// Columnar layout only; the description's recipe gives the other layouts to the exact
// writer. Set the properties before Execute; they hold for every file of the run.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "pdf/DorvexToPDF.h"
#include "pdf/PageCompressor.h"
#include "pdf/PageOrientation.h"
#include "pdf/PdfNumberCache.h"
#include "pdf/fonts/EmbeddedFont.h"
#include "pdf/fonts/ReportFont.h"

namespace mlt {

class TModernPDF : public TDorvexToPDF {
public:
    explicit TModernPDF(TComponent* owner = nullptr) : TDorvexToPDF(owner) {}
    ~TModernPDF() override;
    std::string ClassName() const override { return "TModernPDF"; }

    std::string Title;  // in the texts' form (rtl/CodePage.h)
    // The report font for a cell's font (its name and style), one per document and style;
    // unset, the standard PDF font of that name. The texts are in the form it takes.
    std::function<std::unique_ptr<TReportFont>(const TFont&)> FontFactory;
    TPageOrientation Orientation = TPageOrientation::Auto;
    bool Compress = true;
    // Per visible column: a width in characters given by the user (0: fitted to the data)
    // and a format pattern ("#,##0.00", "yyyy-mm-dd"; empty: the usual text).
    std::vector<int> UserWidths;
    std::vector<std::string> Formats;

    void PrepareExecute() override;
    void WriteFileBegin() override;
    void WriteDimension(int rowCount, int colCount) override {}
    void WriteColumnWidth(int col, int width) override {}
    void WriteRowStart(bool isHeaderRow) override;
    void WriteRowEnd(bool isHeaderRow) override;
    void WriteDataEnd() override;
    void WriteData(TField* field, TCellType cellType, int row, int col, const std::string& text,
                   TAlignment alignment, TFont* font, TColor color) override;
    void WriteFileEnd() override;
    void BeginPage() override;
    void EndPage() override;

    // The text of a number or date value under a pattern: "#,##0.00" style for numbers
    // (thousands separator when the pattern has ",", as many decimals as it has after
    // "."), date and time patterns otherwise. Exposed for the column measuring.
    static std::string FormatValue(const Variant& value, const std::string& pattern, const TFormatSettings& settings);

private:
    struct TFontSlot {
        std::unique_ptr<TReportFont> Font;
        std::int64_t Object = 0;
        std::string Resource;  // "F0", "F1", ...
        // An embedded font's fallbacks: resource names, and font objects once used.
        TEmbeddedFont* Embedded = nullptr;
        std::vector<std::pair<std::string, std::int64_t>> Fallbacks;
        double EllipsisWidth = 0;  // of the font's "…" at size 1
        std::string Select;         // the operator that selects the font at SelectedSize
        double SelectedSize = -1;
    };
    struct TCaption {
        std::string Text;
        TFont Font;
        TColor Color;
        TAlignment Alignment;
    };

    TFontSlot& FontFor(const TFont& font);
    TFontSlot& FindFont(const TFont& font);
    std::unique_ptr<TReportFont> MakeFont(const TFont& font) const;
    void AppendFontResources(std::string& out, TFontSlot& slot);
    // The text a cell shows: `text`, or the value under the column's format pattern.
    std::string_view CellText(TField* field, int col, const std::string& text);
    void MeasureColumns();
    void FitColumnsToPage(double pageWidth);
    void DrawCaptions();
    void DrawPicture(TField& field, double x, double width);
    void DrawLineText(std::string_view text, double x, double width, double baseline, TAlignment alignment,
                      const TFont& font);
    void FillRect(double x, double y, double width, double height, TColor color);
    void AddBackground(double x, double width, TColor color);
    void FlushBackground();
    void AddTableRow();
    void DrawColumnRules();

    std::unique_ptr<TPageCompressor> out_;
    std::map<std::string, TFontSlot, std::less<>> fonts_;
    std::vector<std::int64_t> pages_;
    std::vector<std::int64_t> nodes_;  // the page tree's nodes under the root
    std::vector<std::pair<std::int64_t, std::string>> pagePictures_;  // resource uses on the open page
    std::vector<double> widths_;  // points per visible column
    std::vector<double> lefts_;
    double pageWidth_ = 0, pageHeight_ = 0;
    double top_ = 0;  // the top of the next row
    double tableTop_ = 0, tableBottom_ = 0;  // the page's table rows span these
    struct TBackground {
        double X = 0, Width = 0;  // no background waits while Width is 0
        TColor Color = 0;
    } background_;
    // Where the page's last text started: each text moves on from there.
    double lineX_ = 0, lineY_ = 0;
    // The font and size that the page's text state holds.
    const TFontSlot* selectedFont_ = nullptr;
    double selectedSize_ = 0;
    // The open page, layer by layer. Backgrounds never overlap one another, and the black
    // rules are drawn over them, so each colour's rectangles make one path; the texts make
    // one text object.
    std::vector<std::pair<TColor, std::string>> fills_;  // in the order of first use
    std::string text_;
    std::string pictures_;
    TPdfNumberCache numbers_;
    std::string formatted_, cut_;  // CellText's and DrawLineText's buffers, reused cell after cell
    std::vector<TCaption> captions_;
    bool headerRow_ = false;
    bool captionRow_ = false;
    std::int64_t pictureBytes_ = 0;
    bool afterData_ = false;
    int pageRows_ = 0;
    // The last font asked for.
    TFont lastFont_;
    TFontSlot* lastSlot_ = nullptr;
};

}  // namespace mlt
