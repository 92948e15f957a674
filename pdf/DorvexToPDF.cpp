#include "pdf/DorvexToPDF.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "data/DBGrid.h"
#include "rtl/Exception.h"

namespace mlt {

namespace {

constexpr std::int64_t kMargin = 10;
constexpr std::int64_t kWidthUnit = 8;
constexpr std::int64_t kRowHeight = 18;
constexpr std::int64_t kRuleHeight = 19;
constexpr std::int64_t kBoxDrop = 5;
constexpr std::int64_t kTopRuleDrop = 13;
constexpr std::size_t kHexLineDigits = 77;

// c / 255 with three decimals, for c = 0 .. 255: "0.000" .. "1.000". No c / 255 lies
// half-way between two thousandths, so rounding to nearest is exact.
constexpr std::array<std::array<char, 5>, 256> MakeFractions() {
    std::array<std::array<char, 5>, 256> table{};
    for (int c = 0; c < 256; ++c) {
        int thousandths = (c * 2000 + 255) / 510;
        table[c] = {static_cast<char>('0' + thousandths / 1000), '.', static_cast<char>('0' + thousandths / 100 % 10),
                    static_cast<char>('0' + thousandths / 10 % 10), static_cast<char>('0' + thousandths % 10)};
    }
    return table;
}
constexpr auto kFractions = MakeFractions();

constexpr std::array<char, 512> MakeHexPairs() {
    std::array<char, 512> table{};
    constexpr char digits[] = "0123456789ABCDEF";
    for (int b = 0; b < 256; ++b) {
        table[2 * b] = digits[b >> 4];
        table[2 * b + 1] = digits[b & 15];
    }
    return table;
}
constexpr auto kHexPairs = MakeHexPairs();

bool ContainsNoCase(std::string_view text, std::string_view upperWord) {
    auto up = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; };
    return std::search(text.begin(), text.end(), upperWord.begin(), upperWord.end(),
                       [&](char a, char b) { return up(a) == b; }) != text.end();
}

// Empties a per-document list and gives its memory back.
template <class T>
void FreeList(std::vector<T>& list) {
    std::vector<T>().swap(list);
}

std::int64_t UsablePageSize(int value, int fallback) { return value > 0 ? value : fallback; }

// The most that the lines of a rectangle take: four colour lines, four numbers.
constexpr std::size_t kColorLineBytes = std::tuple_size_v<TPDFColorLine> + 2;
constexpr std::size_t kRectBytes = 4 * kColorLineBytes + 4 * pdfline::kMaxNumberLength + 16;
// The most that a text cell's lines take besides its escaped text.
constexpr std::size_t kTextCellBytes = 2 * kColorLineBytes + 5 * pdfline::kMaxNumberLength + 48;

char* PutLine(char* at, const TPDFColorLine& line) {
    std::memcpy(at, line.data(), line.size());
    std::memcpy(at + line.size(), "\r\n", 2);
    return at + kColorLineBytes;
}

}  // namespace

// The resting colours that every coloured operation returns to, and the rules' black.
const TPDFColorLine TDorvexToPDF::kBlackFill = ColorToPDF(clBlack, false);
const TPDFColorLine TDorvexToPDF::kWhiteStroke = ColorToPDF(clWhite, true);
const TPDFColorLine TDorvexToPDF::kBlackStroke = ColorToPDF(clBlack, true);

TDorvexToPDF::TDorvexToPDF(TComponent* owner) : TDorvexToCellFile(owner) {
    SetDefaultFileName();
    SetTableType(17);
}

// --- Line writer, object numbers and cross-reference entries ---

void TDorvexToPDF::WriteString(std::string_view text) {
    const auto length = static_cast<std::int64_t>(text.size()) + 2;
    if (InPageContent) {
        ContentBuffer.AppendLine(text);
        PageBytes += length;
    } else {
        OutputStream->Write(text);
        OutputStream->Write("\r\n");
    }
    TotalBytes += length;
}

char* TDorvexToPDF::BeginLines(std::size_t maxBytes) {
    linesStart_ = InPageContent ? ContentBuffer.Reserve(maxBytes) : line_.Reserve(maxBytes);
    return linesStart_;
}

void TDorvexToPDF::EndLines(const char* end) {
    const auto length = end - linesStart_;
    if (InPageContent) {
        ContentBuffer.Commit(end);
        PageBytes += length;
    } else {
        OutputStream->Write(line_.Until(end));
    }
    TotalBytes += length;
}

std::int64_t TDorvexToPDF::NextObjectNumber() {
    if (NextObject > ObjectNumberLimit)
        throw Exception("The PDF document needs more than " + std::to_string(ObjectNumberLimit) +
                        " objects; export fewer records per file");
    return NextObject++;
}

void TDorvexToPDF::AddXRefEntry(std::int64_t object) {
    std::int64_t offset = TotalBytes - PageBytes;
    if (offset > OffsetLimit)
        throw Exception("The PDF document outgrows " + std::to_string(OffsetLimit) +
                        " bytes; export fewer records per file");
    XRefList.Add(object, offset);
}

void TDorvexToPDF::WriteObjectHeader(std::int64_t object) {
    AddXRefEntry(object);
    WriteLine(line_.Start().Add(object).Add(" 0 obj"));
}

// --- Document ---

void TDorvexToPDF::WriteFileBegin() {
    if (!OutputStream) throw Exception("The PDF writer has no output stream");
    XRefList.Clear();
    FontNames.clear();
    ImageList.clear();
    imageBytes_ = 0;
    FontObjects.clear();
    PageNodes.clear();
    PageObjects.clear();
    lastFontIndex_ = -1;
    PageCount = 0;
    NextObject = 4;
    PagesPerNode = 10;
    TotalBytes = 0;
    PageBytes = 0;
    InPageContent = false;
    ContentBuffer.Clear();

    auto* grid = ColumnSource == csDBGrid ? dynamic_cast<TDBGrid*>(DBGrid()) : nullptr;
    columnRules_ = !grid || (grid->Options & dgColLines) != 0;
    rowRules_ = !grid || (grid->Options & dgRowLines) != 0;

    WriteString("%PDF-1.2");
    WriteObjectHeader(1);
    WriteString("<< /Type /Catalog ");
    WriteString("/Pages 3 0 R >> ");
    WriteString("endobj");
}

void TDorvexToPDF::WriteHeader() {
    BeginPage();
    TDorvexToCellFile::WriteHeader();
    firstRecordRow_ = CurrentRow;
}

void TDorvexToPDF::BeginPage() {
    PageRow = 1;
    PageBytes = 0;
    if (PageCount % PagesPerNode == 0) PageNodes.push_back({NextObjectNumber(), PageObjects.size()});
    ++PageCount;
    const std::int64_t page = NextObjectNumber();
    PageObjects.push_back(page);

    WriteObjectHeader(page);
    WriteString("<< /Type /Page ");
    WriteLine(line_.Start().Add("/Parent ").Add(PageNodes.back().Number).Add(" 0 R "));
    ContentsObject = NextObjectNumber();
    LengthObject = NextObjectNumber();
    ProcSetObject = NextObjectNumber();
    ResourcesObject = NextObjectNumber();
    WriteLine(line_.Start().Add("/MediaBox [0 0 ").Add(MediaWidth).Add(" ").Add(MediaHeight).Add("] "));
    WriteLine(line_.Start().Add("/Resources ").Add(ResourcesObject).Add(" 0 R"));
    WriteLine(line_.Start().Add("/Contents ").Add(ContentsObject).Add(" 0 R >> "));
    WriteString("endobj");
    WriteObjectHeader(ResourcesObject);
    PageBytes = 0;
    InPageContent = true;
}

void TDorvexToPDF::EndPage() {
    InPageContent = false;
    WriteString("<<");
    if (!FontObjects.empty()) {
        line_.Start().Add("/Font << ");
        for (std::size_t i = 0; i < FontObjects.size(); ++i)
            line_.Add("/F").Add(static_cast<std::int64_t>(i)).Add(" ").Add(FontObjects[i]).Add(" 0 R ");
        WriteLine(line_.Add(">>"));
    }
    if (!ImageList.empty()) {
        line_.Start().Add("/XObject << ");
        for (const TPDFImage& image : ImageList)
            line_.Add("/Im").Add(image.Number).Add(" ").Add(image.Number).Add(" 0 R ");
        WriteLine(line_.Add(">>"));
    }
    WriteLine(line_.Start().Add("/ProcSet ").Add(ProcSetObject).Add(" 0 R"));
    WriteString(">>");
    WriteString("endobj");

    WriteObjectHeader(ContentsObject);
    WriteLine(line_.Start().Add("<< /Length ").Add(LengthObject).Add(" 0 R >> "));
    WriteString("stream");
    std::int64_t length = std::max<std::int64_t>(PageBytes - 1, 0);
    OutputStream->Write(ContentBuffer.Memory());
    ContentBuffer.Clear();
    PageBytes = 0;
    WriteString("endstream");
    WriteString("endobj");

    WriteObjectHeader(LengthObject);
    WriteLine(line_.Start().Add(length));
    WriteString("endobj");

    WriteObjectHeader(ProcSetObject);
    WriteString(ImageList.empty() ? "[ /PDF /Text ] " : "[ /PDF /Text /ImageC ] ");
    WriteString("endobj");
}

void TDorvexToPDF::WriteFileEnd() {
    EndPage();
    WriteFonts();
    for (TPDFImage& image : ImageList) {
        WriteImage(image.Number, *image.Bitmap);
        image.Bitmap.reset();
    }
    WriteInfo();
    WriteRootNode();
    WritePageNodes();
    std::int64_t xrefOffset = TotalBytes;
    WriteXRef();
    WriteTrailer(xrefOffset);
    XRefList.Clear();
    FreeList(FontNames);
    FreeList(ImageList);
    FreeList(FontObjects);
    FreeList(PageNodes);
    FreeList(PageObjects);
}

void TDorvexToPDF::WriteFonts() {
    for (std::size_t i = 0; i < FontNames.size(); ++i) {
        WriteObjectHeader(FontObjects[i]);
        WriteString("<< /Type /Font ");
        WriteString("/Subtype /Type1 ");
        WriteLine(line_.Start().Add("/Name /F").Add(static_cast<std::int64_t>(i)).Add(" "));
        WriteLine(line_.Start().Add("/BaseFont /").Add(FontNames[i]).Add(" "));
        WriteString("/FirstChar 32 ");
        WriteString("/LastChar 255 ");
        WriteString(FontNames[i] == "ZapfDingbats" ? "/Encoding /StandardEncoding >>"
                                                   : "/Encoding /WinAnsiEncoding >> ");
        WriteString("endobj");
    }
}

void TDorvexToPDF::WriteImage(std::int64_t number, const TBitmap& bitmap) {
    std::int64_t lengthObject = NextObjectNumber();
    WriteObjectHeader(number);
    WriteString("<< ");
    WriteString("/Type /XObject");
    WriteString("/Subtype /Image");
    WriteLine(line_.Start().Add("/Name /Im").Add(number));
    WriteLine(line_.Start().Add("/Width ").Add(bitmap.Width()));
    WriteLine(line_.Start().Add("/Height ").Add(bitmap.Height()));
    WriteString("/BitsPerComponent 8");
    WriteString("/ColorSpace /DeviceRGB");
    WriteString("/Filter /ASCIIHexDecode ");
    WriteLine(line_.Start().Add("/Length ").Add(lengthObject).Add(" 0 R >> "));
    WriteString("stream");

    // Six digits a pixel; a line is written once it holds more than 77 digits, so every
    // full line has 78 (13 pixels) and rows run on into one another.
    char digits[kHexLineDigits + 3];
    std::size_t used = 0;
    std::int64_t count = 0;
    const std::size_t rowBytes = static_cast<std::size_t>(bitmap.Width()) * TBitmap::BytesPerPixel;
    for (int row = 0; row < bitmap.Height(); ++row) {
        const std::uint8_t* pixel = bitmap.ScanLine(row);
        for (std::size_t i = 0; i < rowBytes; i += TBitmap::BytesPerPixel) {
            for (std::size_t k = 0; k < TBitmap::BytesPerPixel; ++k, used += 2)
                std::memcpy(digits + used, &kHexPairs[2 * pixel[i + k]], 2);
            if (used > kHexLineDigits) {
                WriteString({digits, used});
                count += static_cast<std::int64_t>(used) + 2;
                used = 0;
            }
        }
    }
    digits[used++] = '>';
    WriteString({digits, used});
    count += static_cast<std::int64_t>(used) + 2;
    WriteString("endstream");
    WriteString("endobj");

    WriteObjectHeader(lengthObject);
    WriteLine(line_.Start().Add(count));
    WriteString("endobj");
}

void TDorvexToPDF::WriteInfo() {
    WriteObjectHeader(2);
    WriteString("<< /Creator (Marrowlintide)");
    WriteLine(line_.Start().Add("/CreationDate (D:").Add(FormatPDFDate(Now())).Add(")"));
    WriteLine(line_.Start().Add("/Title (").AddLiteral(KeyGenerator).Add(")"));
    WriteString("/Author ()");
    WriteString("/Producer (Marrowlintide)");
    WriteString("/Keywords ()");
    WriteString("/Subject () >>");
    WriteString("endobj");
}

void TDorvexToPDF::WriteRootNode() {
    WriteObjectHeader(3);
    WriteString("<< /Type /Pages ");
    line_.Start().Add("/Kids [ ");
    for (const TPageNode& node : PageNodes) line_.Add(node.Number).Add(" 0 R ");
    WriteLine(line_.Add(" ] "));
    WriteLine(line_.Start().Add("/Count ").Add(PageCount).Add(" >> "));
    WriteString("endobj");
}

void TDorvexToPDF::WritePageNodes() {
    for (std::size_t i = 0; i < PageNodes.size(); ++i) {
        const std::size_t first = PageNodes[i].FirstPage;
        const std::size_t end = i + 1 < PageNodes.size() ? PageNodes[i + 1].FirstPage : PageObjects.size();
        WriteObjectHeader(PageNodes[i].Number);
        WriteString("<< /Type /Pages ");
        line_.Start().Add("/Kids [ ");
        for (std::size_t page = first; page < end; ++page) line_.Add(" ").Add(PageObjects[page]).Add(" 0 R");
        WriteLine(line_.Add(" ] "));
        WriteLine(line_.Start().Add("/Count ").Add(static_cast<std::int64_t>(end - first)).Add(" "));
        WriteString("/Parent 3 0 R >> ");
        WriteString("endobj");
    }
}

void TDorvexToPDF::WriteXRef() {
    WriteString("xref");
    WriteLine(line_.Start().Add("0 ").Add(XRefList.Count() + 1));
    WriteString("0000000000 65535 f");
    XRefList.ForEach([this](std::int64_t offset) {
        WriteLine(line_.Start().Add(ZeroPad(std::to_string(offset), 10)).Add(" 00000 n"));
    });
}

void TDorvexToPDF::WriteTrailer(std::int64_t xrefOffset) {
    WriteString("trailer");
    WriteString("<< /Root 1 0 R ");
    WriteString("/Info 2 0 R ");
    WriteLine(line_.Start().Add("/Size ").Add(XRefList.Count() + 1).Add(" >> "));
    WriteString("startxref");
    WriteLine(line_.Start().Add(xrefOffset));
    WriteString("%%EOF");
}

// --- Page layout and cells ---

void TDorvexToPDF::WriteDimension(int rowCount, int colCount) {
    TDorvexToCellFile::WriteDimension(rowCount, colCount);
    ColumnX.assign(static_cast<std::size_t>(std::max(colCount, 0)), 0);
    MediaWidth = UsablePageSize(PageWidth, DefaultPageWidth);
    MediaHeight = UsablePageSize(PageHeight, DefaultPageHeight);
}

void TDorvexToPDF::WriteColumnWidth(int col, int width) {
    TDorvexToCellFile::WriteColumnWidth(col, width);
    const auto slots = static_cast<std::int64_t>(ColumnX.size());
    if (col < 0 || col >= slots) return;
    ColumnX[static_cast<std::size_t>(col)] = std::int64_t{width} * kWidthUnit;
    if (col != slots - 2) return;
    // The widths are all known: turn them into left edges, the last slot getting the
    // table's right edge, and widen the pages to whole page widths that hold the table.
    std::int64_t x = kMargin;
    for (std::int64_t& slot : ColumnX) {
        std::int64_t w = slot;
        slot = x;
        x += w;
    }
    const std::int64_t pageWidth = UsablePageSize(PageWidth, DefaultPageWidth);
    MediaWidth = x > pageWidth ? (x + pageWidth - 1) / pageWidth * pageWidth : pageWidth;
}

void TDorvexToPDF::WriteRowEnd(bool isHeaderRow) {
    const std::int64_t n = PageRow;
    if (rowRules_) DrawRect(kMargin, MediaHeight - RowOffset(n) - kBoxDrop, MediaWidth - 2 * kMargin, 1, clBlack, clBlack);
    PageRow = n + 1;
    if (RowOffset(n + 1) >= MediaHeight - kMargin) {
        EndPage();
        BeginPage();
    }
}

void TDorvexToPDF::WriteData(TField* field, TCellType cellType, int row, int col, const std::string& text,
                             TAlignment alignment, TFont* font, TColor color) {
    const std::int64_t height = MediaHeight;
    const std::int64_t n = PageRow;
    const auto slots = static_cast<std::int64_t>(ColumnX.size());
    const bool hasSlot = col >= 0 && col < slots;
    const std::int64_t x = hasSlot ? ColumnX[static_cast<std::size_t>(col)] : kMargin;
    const bool lastColumn = col >= VisibleColumnCount - 1;
    const std::int64_t right = !lastColumn && col + 1 < slots ? ColumnX[static_cast<std::size_t>(col) + 1]
                                                               : MediaWidth - kMargin;
    const std::int64_t width = right - x + 1;
    const std::int64_t boxY = height - RowOffset(n) - kBoxDrop;

    if (n == 1) DrawRect(x, height - kTopRuleDrop, width, 1, clBlack, clBlack);
    const TColor background = !field && CaptionColor != -1 ? CaptionColor : color;
    DrawRect(x, boxY, width, kRowHeight, background, background);

    const std::int64_t baseline = height - (Layout == elReversedColumnar ? RowOffset(row) : RowOffset(n));
    if (field && field->BlobType() == ftGraphic)
        WriteImageCell(*field, x + 1, baseline - kBoxDrop);
    else
        WriteTextCell(text, font, x + 1, baseline);

    if (columnRules_) {
        DrawRect(x, boxY, 1, kRuleHeight, clBlack, clBlack);
        if (col == VisibleColumnCount - 1) DrawRect(MediaWidth - kMargin, boxY, 1, kRuleHeight, clBlack, clBlack);
    }
}

void TDorvexToPDF::WriteTextCell(const std::string& text, TFont* font, std::int64_t x, std::int64_t y) {
    using pdfline::Put;
    const bool colored = font && ColorToRGB(font->Color) != 0;
    char* at = BeginLines(kTextCellBytes + 2 * text.size());
    at = Put(at, "BT\r\n");
    if (font) {
        if (colored) at = PutLine(at, ColorLine(font->Color, false));
        at = Put(Put(Put(Put(Put(at, "/F"), GetFontIndex(*font)), " "), font->Size), " Tf\r\n");
        at = Put(Put(at, std::int64_t{font->Size} + 2), " TL\r\n");
    }
    at = Put(Put(Put(Put(at, x), " "), y), " Td (");
    at = Put(pdfline::PutLiteral(at, text), ") Tj \r\n");
    if (colored) at = PutLine(at, kBlackFill);
    EndLines(Put(at, "ET\r\n"));
}

// A graphic field without a value shows no picture; one whose data is no picture fails.
void TDorvexToPDF::WriteImageCell(TField& field, std::int64_t x, std::int64_t y) {
    if (field.Value().IsNullOrEmpty()) return;
    const TPDFImage& image = AddPicture(field, imageBytes_);
    WriteString("q");
    WriteLine(line_.Start().Add(image.Bitmap->Width()).Add(" 0 0 ").Add(kRowHeight).Add(" ").Add(x).Add(" ").Add(y).Add(" cm"));
    WriteLine(line_.Start().Add("/Im").Add(image.Number).Add(" Do"));
    WriteString("Q");
}

const TPDFImage& TDorvexToPDF::AddPicture(TField& field, std::int64_t& bytes) {
    std::unique_ptr<TBitmap> bitmap = TBitmap::LoadFromMemory(field.Value().Bytes(), "field " + field.FieldName);
    const std::int64_t pixelBytes = std::int64_t{bitmap->Width()} * bitmap->Height() * TBitmap::BytesPerPixel;
    if (bytes + pixelBytes > ImageBytesLimit)
        throw Exception("The picture of field " + field.FieldName + " in record " +
                        std::to_string(CurrentRow - firstRecordRow_ + 1) + " would take the pictures of the document past " +
                        std::to_string(ImageBytesLimit >> 20) + " MB");
    bytes += pixelBytes;
    ImageList.push_back({NextObjectNumber(), std::move(bitmap)});
    return ImageList.back();
}

void TDorvexToPDF::DrawRect(std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height,
                            TColor fillColor, TColor strokeColor) {
    EndLines(PutRect(BeginLines(kRectBytes), x, y, width, height, fillColor, strokeColor));
}

char* TDorvexToPDF::PutRect(char* at, std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height,
                            TColor fillColor, TColor strokeColor) {
    using pdfline::Put;
    const bool fillsBlack = ColorToRGB(fillColor) == 0;
    const bool strokesWhite = ColorToRGB(strokeColor) == 0xFFFFFF;
    if (!fillsBlack) at = PutLine(at, ColorLine(fillColor, false));
    if (!strokesWhite) at = PutLine(at, ColorLine(strokeColor, true));
    at = Put(Put(Put(Put(Put(Put(Put(at, x), " "), y), " "), width - 1), " "), height - 1);
    at = Put(at, " re\r\nB\r\n");
    if (!strokesWhite) at = PutLine(at, kWhiteStroke);
    if (!fillsBlack) at = PutLine(at, kBlackFill);
    return at;
}

const TPDFColorLine& TDorvexToPDF::ColorLine(TColor color, bool stroke) {
    if (ColorToRGB(color) == 0) return stroke ? kBlackStroke : kBlackFill;
    TColorMemo& memo = colorMemo_[stroke ? 1 : 0];
    if (memo.Color != color || !memo.Valid) memo = {color, true, ColorToPDF(color, stroke)};
    return memo.Line;
}

TPDFColorLine TDorvexToPDF::ColorToPDF(TColor color, bool stroke) {
    const std::uint32_t rgb = ColorToRGB(color);
    TPDFColorLine line;
    for (int i = 0; i < 3; ++i) {
        std::memcpy(line.data() + 6 * i, kFractions[(rgb >> (8 * i)) & 0xFF].data(), 5);
        line[static_cast<std::size_t>(6 * i + 5)] = ' ';
    }
    line[18] = stroke ? 'R' : 'r';
    line[19] = stroke ? 'G' : 'g';
    return line;
}

int TDorvexToPDF::GetFontIndex(const TFont& font) {
    const TFontStyles style = font.Style & (fsBold | fsItalic);
    if (lastFontIndex_ >= 0 && style == lastFontStyle_ && font.Name == lastFontName_) return lastFontIndex_;
    const std::string_view name = GetPDFFontName(font);
    auto found = std::find(FontNames.begin(), FontNames.end(), name);
    if (found == FontNames.end()) {
        std::int64_t object = NextObjectNumber();
        FontNames.emplace_back(name);
        FontObjects.push_back(object);
        found = FontNames.end() - 1;
    }
    lastFontName_ = font.Name;
    lastFontStyle_ = style;
    lastFontIndex_ = static_cast<int>(found - FontNames.begin());
    return lastFontIndex_;
}

std::string_view TDorvexToPDF::GetPDFFontName(const TFont& font) {
    static constexpr std::string_view kWords[] = {"COURIER", "ARIAL", "TIMES", "WINGDINGS"};
    // Per word: regular, bold, italic, bold and italic.
    static constexpr std::string_view kNames[][4] = {
        {"Courier", "Courier-Bold", "Courier-Oblique", "Courier-BoldOblique"},
        {"Helvetica", "Helvetica-Bold", "Helvetica-Oblique", "Helvetica-BoldOblique"},
        {"Times-Roman", "Times-Bold", "Times-Italic", "Times-BoldItalic"},
        {"ZapfDingbats", "ZapfDingbats", "ZapfDingbats", "ZapfDingbats"},
    };
    const int style = (font.HasStyle(fsBold) ? 1 : 0) + (font.HasStyle(fsItalic) ? 2 : 0);
    std::string_view result = "Times-Roman";
    for (std::size_t w = 0; w < std::size(kWords); ++w)
        if (ContainsNoCase(font.Name, kWords[w])) result = kNames[w][style];
    return result;
}

// --- Small text operations ---

std::string TDorvexToPDF::ZeroPad(std::string text, std::size_t width) {
    if (text.size() < width) text.insert(0, width - text.size(), '0');
    return text;
}

std::string TDorvexToPDF::FormatPDFDate(TDateTime value) {
    const TDateParts p = DecodeDateTime(value);
    char text[32];
    int length = std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d", p.Year, p.Month, p.Day, p.Hour,
                               p.Minute, p.Second);
    return std::string(text, static_cast<std::size_t>(length));
}

}  // namespace mlt
