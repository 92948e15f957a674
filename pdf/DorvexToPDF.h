// TDorvexToPDF: the PDF writer. It turns the cell-file driver's calls into one PDF 1.2
// document per output file: a table on a fixed grid of pages (columns 8 points per width
// unit, rows 18 points high), cell backgrounds, rules, text in the standard Type 1 fonts
// with WinAnsiEncoding, and pictures of graphic fields as RGB image objects.
//
// Order of calls (the driver's): WriteFileBegin, WriteDimension, WriteColumnWidth per
// column slot, WriteHeader (opens page 1), rows of WriteRowStart, WriteData per cell and
// WriteRowEnd (which breaks the page when the next row would not fit), WriteFileEnd
// (fonts, images, information dictionary, page tree, cross-reference table, trailer).
// Lines pass through WriteString, which appends CR LF and counts the bytes; the cells'
// lines are formatted in blocks straight into the same place and counted the same way.
// The open page's content waits in ContentBuffer and is copied out when the page ends.
//
// The document must start at offset 0 of OutputStream. Counts are 64-bit; a document
// needing an object number above MaxObjectNumber or an offset above MaxOffset (what the
// cross-reference entries can hold) raises an Exception, as do a missing output stream,
// a picture that cannot be decoded, and a picture that would take the decoded pictures
// waiting for the document's end past ImageBytesLimit bytes. A PageWidth or PageHeight
// of 0 or less falls back to 612 or 792 when the document's pages are sized.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "export/DorvexToCellFile.h"
#include "pdf/Bitmap.h"
#include "pdf/ContentBuffer.h"
#include "pdf/PDFLine.h"
#include "pdf/XRefTable.h"
#include "rtl/DateTime.h"

namespace mlt {

// An intermediate node of the page tree: its object number and where its pages start
// in PageObjects; they run to the next node's first page.
struct TPageNode {
    std::int64_t Number;
    std::size_t FirstPage;
};

// An image object number with the bitmap it shows.
struct TPDFImage {
    std::int64_t Number;
    std::unique_ptr<TBitmap> Bitmap;
};

// A colour operator line, "r.rrr g.ggg b.bbb rg" or "... RG": always 20 characters.
using TPDFColorLine = std::array<char, 20>;

class TDorvexToPDF : public TDorvexToCellFile {
public:
    static constexpr int DefaultPageWidth = 612;
    static constexpr int DefaultPageHeight = 792;
    static constexpr std::int64_t MaxObjectNumber = 999999;
    static constexpr std::int64_t MaxOffset = 9999999999;
    static_assert(MaxOffset <= TXRefTable::MaxOffset);
    // The decoded pictures of one document stay in memory until its end, where they are
    // written: a picture that would take them past this many bytes is refused.
    static constexpr std::int64_t MaxImageBytes = std::int64_t{256} << 20;

    explicit TDorvexToPDF(TComponent* owner = nullptr);
    std::string ClassName() const override { return "TDorvexToPDF"; }

    void SetPageWidth(int value) { PageWidth = value; }
    void SetPageHeight(int value) { PageHeight = value; }
    void SetCaptionColor(TColor value) { CaptionColor = value; }

    void GetDefaultExt(std::string& ext) override { ext = ".PDF"; }
    bool CanMergeData() override { return false; }
    void WriteString(std::string_view text) override;
    void WriteFileBegin() override;
    void WriteHeader() override;
    void WriteFileEnd() override;
    void WriteDimension(int rowCount, int colCount) override;
    void WriteColumnWidth(int col, int width) override;
    void WriteRowStart(bool isHeaderRow) override {}
    void WriteRowEnd(bool isHeaderRow) override;
    void WriteData(TField* field, TCellType cellType, int row, int col, const std::string& text,
                   TAlignment alignment, TFont* font, TColor color) override;

    virtual void BeginPage();
    virtual void EndPage();

    // The text with "0" prepended until it is at least `width` long; never cut.
    static std::string ZeroPad(std::string text, std::size_t width);
    // yyyymmddhhnnss: four-digit year, then month, day, 24-hour hour, minutes, seconds.
    static std::string FormatPDFDate(TDateTime value);
    // The standard font for a font's name and bold/italic style: the last of COURIER,
    // ARIAL, TIMES and WINGDINGS found in the name wins; none gives Times-Roman.
    static std::string_view GetPDFFontName(const TFont& font);
    // The fill ("rg") or stroke ("RG") operator of a colour; system colours resolved.
    static TPDFColorLine ColorToPDF(TColor color, bool stroke);
    // Distance from the page top to the text baseline of page row n.
    static std::int64_t RowOffset(std::int64_t n) { return 18 * n + 8; }

    std::vector<std::int64_t> ColumnX;
    int PagesPerNode = 10;
    std::int64_t NextObject = 4;
    TXRefTable XRefList;
    std::vector<std::string> FontNames;
    std::vector<TPDFImage> ImageList;
    std::vector<std::int64_t> FontObjects;
    std::vector<TPageNode> PageNodes;
    std::vector<std::int64_t> PageObjects;  // every page's object number, in page order
    std::int64_t PageCount = 0;
    std::int64_t PageBytes = 0;
    std::int64_t TotalBytes = 0;
    std::int64_t ContentsObject = 0;
    std::int64_t ResourcesObject = 0;
    std::int64_t LengthObject = 0;
    std::int64_t ProcSetObject = 0;
    std::int64_t PageRow = 1;
    std::int64_t MediaWidth = 0;
    std::int64_t MediaHeight = 0;
    bool InPageContent = false;
    int PageWidth = DefaultPageWidth;
    int PageHeight = DefaultPageHeight;
    TColor CaptionColor = -1;
    TContentBuffer ContentBuffer;

protected:
    std::int64_t NextObjectNumber();
    void AddXRefEntry(std::int64_t object);
    int GetFontIndex(const TFont& font);
    void DrawRect(std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height, TColor fillColor,
                  TColor strokeColor);
    void WriteFonts();
    void WriteImage(std::int64_t number, const TBitmap& bitmap);
    // Decodes the picture of a graphic field of the current record into ImageList under a
    // new object number, and adds its pixel bytes to `bytes`, the document's count; fails,
    // naming the field and the record, rather than let that count pass ImageBytesLimit.
    const TPDFImage& AddPicture(TField& field, std::int64_t& bytes);
    void WriteXRef();

    // The limits checked by NextObjectNumber and AddXRefEntry.
    std::int64_t ObjectNumberLimit = MaxObjectNumber;
    std::int64_t OffsetLimit = MaxOffset;
    std::int64_t ImageBytesLimit = MaxImageBytes;

private:
    void WriteLine(const TPDFLine& line) { WriteString(line.View()); }
    // A block of whole lines, each with its CR LF, written straight to where lines go: the
    // page buffer while a page is open, else line_'s buffer and then the output. The block
    // holds at most `maxBytes`; EndLines takes the end of what was written and counts it.
    char* BeginLines(std::size_t maxBytes);
    void EndLines(const char* end);
    char* PutRect(char* at, std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height,
                  TColor fillColor, TColor strokeColor);
    const TPDFColorLine& ColorLine(TColor color, bool stroke);
    void WriteObjectHeader(std::int64_t object);
    void WriteImageCell(TField& field, std::int64_t x, std::int64_t y);
    void WriteTextCell(const std::string& text, TFont* font, std::int64_t x, std::int64_t y);
    void WriteRootNode();
    void WritePageNodes();
    void WriteInfo();
    void WriteTrailer(std::int64_t xrefOffset);

    static const TPDFColorLine kBlackFill;
    static const TPDFColorLine kWhiteStroke;
    static const TPDFColorLine kBlackStroke;

    // The last fill and stroke colour lines: cells of a row share their colours.
    struct TColorMemo {
        TColor Color = 0;
        bool Valid = false;
        TPDFColorLine Line{};
    };
    TColorMemo colorMemo_[2];
    TPDFLine line_;
    char* linesStart_ = nullptr;
    // Rules are dropped only for a data grid whose options lack the grid lines.
    bool columnRules_ = true;
    bool rowRules_ = true;
    // The font of the previous cell, so that runs of one font skip the name mapping.
    std::string lastFontName_;
    TFontStyles lastFontStyle_ = 0;
    int lastFontIndex_ = -1;
    // The bytes of ImageList's pixels, and the row of the document's first record.
    std::int64_t imageBytes_ = 0;
    int firstRecordRow_ = 0;
};

}  // namespace mlt
