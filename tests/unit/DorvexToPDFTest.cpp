#include "pdf/DorvexToPDF.h"

#include <gtest/gtest.h>

#include <regex>

#include "data/DBGrid.h"
#include "pdf/ModernPDF.h"
#include "rtl/Exception.h"
#include "tests/support/TestData.h"

using namespace mlt;

namespace {

std::vector<std::string> Lines(std::string_view text) {
    std::vector<std::string> lines;
    for (std::size_t from = 0; from < text.size();) {
        std::size_t end = text.find("\r\n", from);
        if (end == std::string_view::npos) end = text.size();
        lines.emplace_back(text.substr(from, end - from));
        from = end + 2;
    }
    return lines;
}

// Object numbers with the offsets of their header lines, in file order.
std::vector<std::pair<std::int64_t, std::size_t>> ObjectsInFileOrder(const std::string& pdf) {
    std::vector<std::pair<std::int64_t, std::size_t>> objects;
    static const std::regex header("(^|\r\n)([0-9]+) 0 obj\r\n");
    for (auto it = std::sregex_iterator(pdf.begin(), pdf.end(), header); it != std::sregex_iterator(); ++it)
        objects.emplace_back(std::stoll((*it)[2]), static_cast<std::size_t>(it->position(2)));
    return objects;
}

std::vector<std::int64_t> Numbers(const std::vector<std::pair<std::int64_t, std::size_t>>& objects) {
    std::vector<std::int64_t> numbers;
    for (const auto& object : objects) numbers.push_back(object.first);
    return numbers;
}

// The bytes of object n from its header line up to and including its "endobj" line.
std::string Object(const std::string& pdf, std::int64_t n) {
    std::string header = "\r\n" + std::to_string(n) + " 0 obj\r\n";
    std::size_t start = pdf.find(header);
    if (start == std::string::npos) return {};
    std::size_t end = pdf.find("endobj\r\n", start);
    return pdf.substr(start + 2, end + 8 - start - 2);
}

// The data of the stream object n.
std::string StreamData(const std::string& pdf, std::int64_t n) {
    std::string object = Object(pdf, n);
    std::size_t start = object.find("stream\r\n") + 8;
    return object.substr(start, object.rfind("endstream\r\n") - start);
}

std::string Repeat(std::string_view text, int times) {
    std::string repeated;
    for (int i = 0; i < times; ++i) repeated += text;
    return repeated;
}

std::size_t Count(std::string_view text, std::string_view what) {
    std::size_t count = 0;
    for (std::size_t at = text.find(what); at != std::string_view::npos; at = text.find(what, at + 1)) ++count;
    return count;
}

// Drives a writer the way the cell-file driver does, into a memory stream.
class PDFWriter : public testing::Test {
protected:
    void Begin(std::vector<int> widths) {
        pdf.OutputStream = &out;
        pdf.VisibleColumnCount = static_cast<int>(widths.size());
        pdf.WriteFileBegin();
        pdf.WriteDimension(0, static_cast<int>(widths.size()) + 1);
        for (std::size_t k = 0; k < widths.size(); ++k) pdf.WriteColumnWidth(static_cast<int>(k), widths[k]);
        pdf.WriteHeader();
    }
    void Row(const std::vector<std::string>& texts, TFont* cellFont, TColor color = clWhite) {
        pdf.WriteRowStart(false);
        for (std::size_t k = 0; k < texts.size(); ++k)
            pdf.WriteData(nullptr, ctString, 0, static_cast<int>(k), texts[k], taLeftJustify, cellFont, color);
        pdf.WriteRowEnd(false);
    }
    std::string Finish() {
        pdf.WriteFileEnd();
        return std::string(out.Memory());
    }
    // What the page's content stream received since `mark` (a ContentBuffer size).
    std::vector<std::string> ContentSince(std::size_t mark) { return Lines(pdf.ContentBuffer.Memory().substr(mark)); }

    // The graphic field of a one-record dataset holding `bytes` (or null).
    TField& Picture(const Variant& bytes) {
        TColumnDescriptor photo{"Photo", adLongVarBinary};
        photo.Graphic = true;
        pictures = test::MakeDataSet({photo}, {{bytes}});
        return pictures->FieldByName("Photo");
    }
    void ImageRow(TField& field, int cells) {
        for (int k = 0; k < cells; ++k) pdf.WriteData(&field, ctBlank, 0, k, "", taLeftJustify, &font, clWhite);
        pdf.WriteRowEnd(false);
    }

    TDorvexToPDF pdf;
    TMemoryStream out;
    TFont font;  // Arial 8, black
    std::unique_ptr<TADODataSet> pictures;
};

// A 24-bit BMP of `width` x rows pixels given top row first as 0xRRGGBB: rows stored
// bottom-up as blue-green-red triples, each padded to a multiple of 4 bytes.
std::string Bmp(int width, const std::vector<std::uint32_t>& pixels) {
    const int height = static_cast<int>(pixels.size()) / width;
    const int stride = (width * 3 + 3) / 4 * 4;
    std::string bmp;
    auto u16 = [&](int v) { bmp += {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8 & 0xFF)}; };
    auto u32 = [&](int v) { u16(v & 0xFFFF); u16(v >> 16 & 0xFFFF); };
    bmp += "BM";
    u32(54 + stride * height); u32(0); u32(54);
    u32(40); u32(width); u32(height); u16(1); u16(24); u32(0); u32(stride * height); u32(2835); u32(2835); u32(0); u32(0);
    for (int row = height - 1; row >= 0; --row) {
        for (int x = 0; x < width; ++x) {
            std::uint32_t rgb = pixels[static_cast<std::size_t>(row * width + x)];
            bmp += {static_cast<char>(rgb & 0xFF), static_cast<char>(rgb >> 8 & 0xFF), static_cast<char>(rgb >> 16)};
        }
        bmp.append(static_cast<std::size_t>(stride - width * 3), '\0');
    }
    return bmp;
}

std::string Export(TDorvexToPDF& pdf, TDataSet& data) {
    pdf.ColumnSource = csDataSet;
    pdf.SetDataSet(&data);
    pdf.AnimatedStatus = false;
    pdf.Options = 0;
    TMemoryStream stream;
    pdf.ExportToStream(&stream);
    return std::string(stream.Memory());
}

TDvxColumn& AddColumn(TDorvexToPDF& pdf, const std::string& field, int width, TColor color = clWhite) {
    TDvxColumn& column = pdf.Columns.Add();
    column.FieldName = field;
    column.Width = width;
    column.Color = color;
    column.Title.Caption = field;
    return column;
}

}  // namespace

TEST(PDFDocument, StartsWithPdfExtensionAndDefaultPage) {
    TDorvexToPDF pdf;
    std::string ext;
    pdf.GetDefaultExt(ext);
    EXPECT_EQ(ext, ".PDF");
    EXPECT_TRUE(pdf.FileName.ends_with("Dorvex.PDF")) << pdf.FileName;
    EXPECT_EQ(pdf.PageWidth, 612);
    EXPECT_EQ(pdf.PageHeight, 792);
    EXPECT_EQ(pdf.CaptionColor, -1);
}

TEST_F(PDFWriter, OnePageOneFontDocumentIsNumberedAndCrossReferenced) {
    font.Color = clBlack;
    Begin({10});
    Row({"abc"}, &font);
    const std::string doc = Finish();

    // Catalog 1; node 4, page 5 with contents 6, length 7, procedure set 8 and resources
    // 9; the font taken at the first cell is 10; then information 2, root 3, node 4.
    const auto objects = ObjectsInFileOrder(doc);
    EXPECT_EQ(Numbers(objects), (std::vector<std::int64_t>{1, 5, 9, 6, 7, 8, 10, 2, 3, 4}));
    // "%PDF-1.2" and CR LF take 10 bytes.
    EXPECT_EQ(doc.find("1 0 obj\r\n"), 10u);
    EXPECT_EQ(Object(doc, 5), "5 0 obj\r\n<< /Type /Page \r\n/Parent 4 0 R \r\n/MediaBox [0 0 612 792] \r\n"
                              "/Resources 9 0 R\r\n/Contents 6 0 R >> \r\nendobj\r\n");
    EXPECT_EQ(Object(doc, 9), "9 0 obj\r\n<<\r\n/Font << /F0 10 0 R >>\r\n/ProcSet 8 0 R\r\n>>\r\nendobj\r\n");
    EXPECT_EQ(Object(doc, 10), "10 0 obj\r\n<< /Type /Font \r\n/Subtype /Type1 \r\n/Name /F0 \r\n"
                               "/BaseFont /Helvetica \r\n/FirstChar 32 \r\n/LastChar 255 \r\n"
                               "/Encoding /WinAnsiEncoding >> \r\nendobj\r\n");
    EXPECT_EQ(Object(doc, 3), "3 0 obj\r\n<< /Type /Pages \r\n/Kids [ 4 0 R  ] \r\n/Count 1 >> \r\nendobj\r\n");
    EXPECT_EQ(Object(doc, 4), "4 0 obj\r\n<< /Type /Pages \r\n/Kids [  5 0 R ] \r\n/Count 1 \r\n"
                              "/Parent 3 0 R >> \r\nendobj\r\n");
    // The stream's length leaves out the final LF of its data.
    EXPECT_EQ(Object(doc, 7), "7 0 obj\r\n" + std::to_string(StreamData(doc, 6).size() - 1) + "\r\nendobj\r\n");

    const std::size_t xref = doc.find("\r\nxref\r\n") + 2;
    const std::vector<std::string> tail = Lines(std::string_view(doc).substr(xref));
    ASSERT_EQ(tail.size(), 2u + 11u + 7u);
    EXPECT_EQ(tail[1], "0 11");
    EXPECT_EQ(tail[2], "0000000000 65535 f");
    for (std::int64_t n = 1; n <= 10; ++n) {
        const std::string& entry = tail[static_cast<std::size_t>(n) + 2];
        ASSERT_EQ(entry.size(), 18u);
        EXPECT_EQ(entry.substr(10), " 00000 n");
        EXPECT_EQ(doc.compare(std::stoul(entry.substr(0, 10)), std::to_string(n).size() + 6, std::to_string(n) + " 0 obj"), 0)
            << "entry " << n;
    }
    EXPECT_EQ(tail[14], "<< /Root 1 0 R ");
    EXPECT_EQ(tail[16], "/Size 11 >> ");
    EXPECT_EQ(tail[17], "startxref");
    EXPECT_EQ(tail[18], std::to_string(xref));
    EXPECT_TRUE(doc.ends_with("%%EOF\r\n"));
}

TEST_F(PDFWriter, OrdinaryCellDrawsBoxTextAndRules) {
    font.Color = clBlack;
    Begin({10, 10});  // slots at 10, 90 and 170
    Row({"x", "y"}, &font);
    const std::size_t mark = pdf.ContentBuffer.Memory().size();
    // Page row 2: RowOffset 44, box at 792 - 44 - 5 = 743, baseline 748, width 90 - 10 + 1.
    pdf.WriteData(nullptr, ctString, 1, 0, "abc", taRightJustify, &font, clWhite);
    EXPECT_EQ(ContentSince(mark),
              (std::vector<std::string>{"1.000 1.000 1.000 rg", "10 743 80 17 re", "B", "0.000 0.000 0.000 rg", "BT",
                                        "/F0 8 Tf", "10 TL", "11 748 Td (abc) Tj ", "ET", "0.000 0.000 0.000 RG",
                                        "10 743 0 18 re", "B", "1.000 1.000 1.000 RG"}));
    const std::size_t rowEnd = pdf.ContentBuffer.Memory().size();
    pdf.WriteRowEnd(false);
    EXPECT_EQ(ContentSince(rowEnd),
              (std::vector<std::string>{"0.000 0.000 0.000 RG", "10 743 591 0 re", "B", "1.000 1.000 1.000 RG"}));
}

TEST_F(PDFWriter, FirstRowGetsTopRuleAndLastColumnReachesTheRightMargin) {
    Begin({10, 10});
    const std::size_t mark = pdf.ContentBuffer.Memory().size();
    // Last column: from 90 to 612 - 10, so w = 513; top rule at 792 - 13; box at 761.
    pdf.WriteData(nullptr, ctString, 0, 1, "", taLeftJustify, nullptr, clBlack);
    EXPECT_EQ(ContentSince(mark),
              (std::vector<std::string>{"0.000 0.000 0.000 RG", "90 779 512 0 re", "B", "1.000 1.000 1.000 RG",
                                        "0.000 0.000 0.000 RG", "90 761 512 17 re", "B", "1.000 1.000 1.000 RG", "BT",
                                        "91 766 Td () Tj ", "ET", "0.000 0.000 0.000 RG", "90 761 0 18 re", "B",
                                        "1.000 1.000 1.000 RG", "0.000 0.000 0.000 RG", "602 761 0 18 re", "B",
                                        "1.000 1.000 1.000 RG"}));
}

TEST_F(PDFWriter, EscapesLiteralStrings) {
    pdf.KeyGenerator = "(x)";
    Begin({10});
    Row({"a(b\\c)d"}, &font);
    const std::string doc = Finish();
    EXPECT_NE(doc.find(" Td (a\\(b\\\\c\\)d) Tj \r\n"), std::string::npos);
    EXPECT_NE(doc.find("/Title (\\(x\\))\r\n"), std::string::npos);
}

TEST(PDFColors, ColorLinesUseThreeDecimalsWithAPoint) {
    auto text = [](TColor color, bool stroke) {
        TPDFColorLine line = TDorvexToPDF::ColorToPDF(color, stroke);
        return std::string(line.data(), line.size());
    };
    EXPECT_EQ(text(0x0000FF, false), "1.000 0.000 0.000 rg");
    EXPECT_EQ(text(0x804020, true), "0.125 0.251 0.502 RG");  // 32, 64 and 128 of 255
    EXPECT_EQ(text(clWindow, false), "1.000 1.000 1.000 rg");
    EXPECT_EQ(text(cl3DLight, false), "0.890 0.890 0.890 rg");  // 227 of 255
}

TEST(PDFColors, DecimalCommaOfTheRunStillGivesPoints) {
    auto data = test::MakeDataSet({test::TextColumn("A")}, {{Variant::String("1,5")}});
    TDorvexToPDF pdf;
    pdf.DataFormats.DecimalSeparator = ',';
    pdf.DataFormats.ThousandSeparator = '.';
    AddColumn(pdf, "A", 10, 0x808080);
    const std::string doc = Export(pdf, *data);
    EXPECT_NE(doc.find("\r\n0.502 0.502 0.502 rg\r\n"), std::string::npos);
    EXPECT_EQ(doc.find("0,"), std::string::npos);
}

TEST(PDFFonts, MapsNamesAndStylesToStandardFonts) {
    auto name = [](std::string fontName, TFontStyles style) {
        TFont font;
        font.Name = std::move(fontName);
        font.Style = style;
        return std::string(TDorvexToPDF::GetPDFFontName(font));
    };
    EXPECT_EQ(name("Arial Narrow", fsBold), "Helvetica-Bold");
    EXPECT_EQ(name("Courier New", fsItalic | fsUnderline), "Courier-Oblique");
    EXPECT_EQ(name("courier", fsBold | fsItalic), "Courier-BoldOblique");
    EXPECT_EQ(name("Times New Roman", 0), "Times-Roman");
    EXPECT_EQ(name("Times New Roman", fsItalic), "Times-Italic");
    EXPECT_EQ(name("Tahoma", fsBold), "Times-Roman");
    EXPECT_EQ(name("Wingdings", fsBold | fsItalic), "ZapfDingbats");
    EXPECT_EQ(name("Arial Courier", fsBold), "Helvetica-Bold");  // ARIAL is looked for after COURIER
}

TEST_F(PDFWriter, SharesOneFontObjectPerPdfNameAndColorsText) {
    TFont red;
    red.Name = "Wingdings";
    red.Size = 12;
    red.Color = 0x0000FF;
    Begin({10, 10});
    Row({"a", "b"}, &font);
    const std::size_t mark = pdf.ContentBuffer.Memory().size();
    // Page row 2, black box (4 lines), then the text at baseline 792 - 44.
    pdf.WriteData(nullptr, ctString, 0, 0, "z", taLeftJustify, &red, clBlack);
    const std::vector<std::string> cell = ContentSince(mark);
    const std::vector<std::string> text(cell.begin() + 4, cell.begin() + 11);
    EXPECT_EQ(text, (std::vector<std::string>{"BT", "1.000 0.000 0.000 rg", "/F1 12 Tf", "14 TL", "11 748 Td (z) Tj ",
                                              "0.000 0.000 0.000 rg", "ET"}));
    pdf.WriteRowEnd(false);
    for (int i = 0; i < 500; ++i) {
        font.Size = 8 + i % 3;  // sizes do not make fonts; styles do
        font.Style = i % 2 ? fsBold : 0;
        Row({"a", "b"}, i % 4 ? &font : &red);
    }
    const std::string doc = Finish();
    EXPECT_EQ(pdf.FontNames.size(), 0u) << "the lists are freed with the document";
    EXPECT_EQ(Count(doc, "/Type /Font "), 3u);
    EXPECT_NE(doc.find("/Font << /F0 10 0 R /F1 11 0 R /F2 12 0 R >>"), std::string::npos);
    // Regular rows: the first and i = 2 mod 4; bold rows: odd i; two cells each.
    EXPECT_EQ(Count(doc, "\r\n/F0 "), 2u + 250u);
    EXPECT_EQ(Count(doc, "\r\n/F2 "), 500u);
    EXPECT_NE(doc.find("/BaseFont /ZapfDingbats \r\n/FirstChar 32 \r\n/LastChar 255 \r\n/Encoding /StandardEncoding >>\r\n"),
              std::string::npos);
}

TEST_F(PDFWriter, WideTableWidensEveryPageToWholePageWidths) {
    Begin(std::vector<int>(8, 10));  // 10 + 8 * 80 = 650 points on 612-wide pages
    for (int i = 0; i < 42; ++i) Row({"r"}, &font);
    const std::string doc = Finish();
    EXPECT_EQ(Count(doc, "/MediaBox [0 0 1224 792] \r\n"), 2u);
    EXPECT_EQ(Count(doc, "/MediaBox"), 2u);
    EXPECT_NE(doc.find("\r\n10 743 1203 0 re\r\n"), std::string::npos);  // row rule: 1224 - 20 - 1
}

TEST_F(PDFWriter, NonPositivePageSizeFallsBackToTheDefaultPage) {
    pdf.SetPageWidth(0);
    pdf.SetPageHeight(-5);
    Begin(std::vector<int>(8, 10));
    for (int i = 0; i < 42; ++i) Row({"r"}, &font);
    const std::string doc = Finish();
    EXPECT_EQ(Count(doc, "/MediaBox [0 0 1224 792] \r\n"), 2u) << "42 rows fill one default page";
}

TEST(PDFLayout, FortyOneRecordsAndCaptionsFillPageOneAndOpenAnEmptyPageTwo) {
    std::vector<std::vector<Variant>> rows;
    for (int i = 0; i < 41; ++i) rows.push_back({Variant::Integer(i)});
    auto data = test::MakeDataSet({test::TypedColumn("A", adInteger)}, std::move(rows));
    TDorvexToPDF pdf;
    pdf.AddTitle = true;
    AddColumn(pdf, "A", 10);
    const std::string doc = Export(pdf, *data);
    // Page 1: 5 .. 9 and font 10; page 2: 11, contents 12, length 13.
    EXPECT_EQ(Count(StreamData(doc, 6), " Tj "), 42u);
    EXPECT_NE(StreamData(doc, 6).find("11 28 Td (40) Tj "), std::string::npos);  // 792 - RowOffset(42)
    EXPECT_EQ(Object(doc, 12), "12 0 obj\r\n<< /Length 13 0 R >> \r\nstream\r\nendstream\r\nendobj\r\n");
    EXPECT_EQ(Object(doc, 13), "13 0 obj\r\n0\r\nendobj\r\n");
    EXPECT_NE(doc.find("/Count 2 >> "), std::string::npos);
}

TEST(PDFLayout, CaptionColorPaintsOnlyCellsWithoutField) {
    auto data = test::MakeDataSet({test::TextColumn("A")}, {{Variant::String("v")}});
    auto boxes = [&](TColor captionColor) {
        TDorvexToPDF pdf;
        pdf.AddTitle = true;
        pdf.SetCaptionColor(captionColor);
        AddColumn(pdf, "A", 10, 0x00FF00).Title.Color = clSilver;
        const std::string stream = StreamData(Export(pdf, *data), 6);
        // Background fills of the captions row (box at 761) and the record row (743).
        std::smatch caption, record;
        std::regex_search(stream, caption, std::regex("([0-9. ]+) rg\r\n[0-9. ]+ RG\r\n10 761 "));
        std::regex_search(stream, record, std::regex("([0-9. ]+) rg\r\n[0-9. ]+ RG\r\n10 743 "));
        return std::make_pair(caption[1].str(), record[1].str());
    };
    EXPECT_EQ(boxes(0x0000FF), std::make_pair(std::string("1.000 0.000 0.000"), std::string("0.000 1.000 0.000")));
    EXPECT_EQ(boxes(-1), std::make_pair(std::string("0.753 0.753 0.753"), std::string("0.000 1.000 0.000")));
}

TEST(PDFLayout, DataGridWithoutLinesDropsTheRules) {
    auto data = test::MakeDataSet({test::TextColumn("A")}, {{Variant::String("v")}});
    auto rules = [&](TDBGridOptions options) {
        TDataSource source;
        source.SetDataSet(data.get());
        TDBGrid grid;
        grid.SetDataSource(&source);
        grid.Options = options;
        TDorvexToPDF pdf;
        pdf.SetDBGrid(&grid);
        pdf.AnimatedStatus = false;
        pdf.Options = 0;
        AddColumn(pdf, "A", 10);
        TMemoryStream stream;
        pdf.ExportToStream(&stream);
        const std::string content = StreamData(std::string(stream.Memory()), 6);
        return std::make_pair(Count(content, " 0 18 re\r\n"), Count(content, " 591 0 re\r\n"));
    };
    EXPECT_EQ(rules(dgColLines | dgRowLines), std::make_pair(std::size_t{2}, std::size_t{1}));
    EXPECT_EQ(rules(dgRowLines), std::make_pair(std::size_t{0}, std::size_t{1}));
    EXPECT_EQ(rules(dgColLines), std::make_pair(std::size_t{2}, std::size_t{0}));
}

namespace {

// A writer whose limits are small enough to reach in a test.
template <class Writer>
class Limited : public Writer {
public:
    Limited(std::int64_t objects, std::int64_t bytes, std::int64_t imageBytes = TDorvexToPDF::MaxImageBytes) {
        this->ObjectNumberLimit = objects;
        this->OffsetLimit = bytes;
        this->ImageBytesLimit = imageBytes;
    }
};
using LimitedPDF = Limited<TDorvexToPDF>;

void WriteRows(TDorvexToPDF& pdf, TMemoryStream& out, int rows) {
    pdf.OutputStream = &out;
    pdf.VisibleColumnCount = 1;
    pdf.WriteFileBegin();
    pdf.WriteDimension(0, 2);
    pdf.WriteColumnWidth(0, 10);
    pdf.WriteHeader();
    for (int i = 0; i < rows; ++i) {
        pdf.WriteData(nullptr, ctString, i, 0, "r", taLeftJustify, nullptr, clWhite);
        pdf.WriteRowEnd(false);
    }
    pdf.WriteFileEnd();
}

}  // namespace

TEST(PDFLimits, RefusesDocumentsTheCrossReferenceCannotDescribe) {
    TMemoryStream out;
    LimitedPDF fewObjects(12, TDorvexToPDF::MaxOffset);
    // Page 1 takes 4 .. 9; the second page would need 10 .. 14.
    EXPECT_NO_THROW(WriteRows(fewObjects, out, 41));
    out.Clear();
    try {
        WriteRows(fewObjects, out, 42);
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_NE(e.Message.find("more than 12 objects"), std::string::npos) << e.Message;
    }
    TMemoryStream small;
    LimitedPDF fewBytes(TDorvexToPDF::MaxObjectNumber, 400);
    EXPECT_THROW(WriteRows(fewBytes, small, 1), Exception);
}

TEST(PDFLimits, RefusesThePictureThatTakesTheDocumentsPicturesPastTheLimit) {
    // Each record's picture is 300 x 300 pixels, 270,000 bytes decoded: three fit in 1 MiB
    // (810,000 bytes), the fourth would not.
    TColumnDescriptor photo{"Photo", adLongVarBinary};
    photo.Graphic = true;
    std::vector<std::vector<Variant>> rows(5, {Variant::Blob(Bmp(300, std::vector<std::uint32_t>(90000, 0xFF)))});
    auto data = test::MakeDataSet({photo}, std::move(rows));
    LimitedPDF exact(TDorvexToPDF::MaxObjectNumber, TDorvexToPDF::MaxOffset, 1 << 20);
    Limited<TModernPDF> modern(TDorvexToPDF::MaxObjectNumber, TDorvexToPDF::MaxOffset, 1 << 20);
    for (TDorvexToPDF* pdf : {static_cast<TDorvexToPDF*>(&exact), static_cast<TDorvexToPDF*>(&modern)}) {
        pdf->AddTitle = true;
        AddColumn(*pdf, "Photo", 10);
        try {
            Export(*pdf, *data);
            ADD_FAILURE() << "no exception";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message, "The picture of field Photo in record 4 would take the pictures of the document past 1 MB");
        }
    }
    LimitedPDF roomy(TDorvexToPDF::MaxObjectNumber, TDorvexToPDF::MaxOffset, 5 * 270000);
    AddColumn(roomy, "Photo", 10);
    EXPECT_EQ(Count(Export(roomy, *data), "/Subtype /Image"), 5u);
}

TEST(PDFLimits, OffsetsPastFourGigabytesKeepAllTheirDigits) {
    // The document's bytes counted as if 4 GiB had gone before it: the offsets must come
    // out as 2^32 + their place, in ten digits, not wrapped to 32 bits.
    TMemoryStream out;
    LimitedPDF pdf(TDorvexToPDF::MaxObjectNumber, TDorvexToPDF::MaxOffset);
    pdf.OutputStream = &out;
    pdf.WriteFileBegin();
    pdf.TotalBytes += std::int64_t{1} << 32;
    pdf.WriteDimension(0, 1);
    pdf.WriteHeader();
    pdf.WriteFileEnd();
    const std::string doc(out.Memory());
    // Object 1, the catalog, came before the jump, at byte 10; every later one is past it.
    const std::size_t xref = doc.rfind("xref\r\n0 ");
    ASSERT_NE(xref, std::string::npos);
    const std::string_view entries = std::string_view(doc).substr(doc.find("\r\n", xref + 6) + 2);
    EXPECT_EQ(entries.substr(20, 20), "0000000010 00000 n\r\n");
    for (std::size_t at = 40; entries.substr(at, 7) != "trailer"; at += 20) {
        const std::int64_t offset = std::stoll(std::string(entries.substr(at, 10)));
        EXPECT_GT(offset, std::int64_t{1} << 32) << entries.substr(at, 20);
        EXPECT_EQ(entries.substr(at + 10, 10), " 00000 n\r\n");
    }
}

TEST(PDFLimits, LongNodeNumbersKeepAllTheirDigits) {
    TMemoryStream out;
    LimitedPDF pdf(TDorvexToPDF::MaxObjectNumber * 10, TDorvexToPDF::MaxOffset);
    pdf.OutputStream = &out;
    pdf.WriteFileBegin();
    pdf.WriteDimension(0, 1);
    pdf.NextObject = 1234567;
    pdf.WriteHeader();
    pdf.WriteFileEnd();
    const std::string doc(out.Memory());
    EXPECT_NE(doc.find("/Parent 1234567 0 R \r\n"), std::string::npos);
    EXPECT_NE(doc.find("/Kids [ 1234567 0 R  ] \r\n"), std::string::npos);
    EXPECT_NE(doc.find("1234567 0 obj\r\n<< /Type /Pages \r\n/Kids [  1234568 0 R ] \r\n/Count 1 \r\n"),
              std::string::npos);
}

TEST(PDFText, PadsWithoutCuttingAndFormatsDates) {
    EXPECT_EQ(TDorvexToPDF::ZeroPad("1234", 10), "0000001234");
    EXPECT_EQ(TDorvexToPDF::ZeroPad("12345678901", 10), "12345678901");
    EXPECT_EQ(TDorvexToPDF::FormatPDFDate(EncodeDate(2024, 3, 7) + EncodeTime(9, 5, 30)), "20240307090530");
}

TEST_F(PDFWriter, PictureBecomesAnImageObjectOfHexDigits) {
    Begin({10});
    const std::size_t mark = pdf.ContentBuffer.Memory().size();
    ImageRow(Picture(Variant::Blob(Bmp(13, std::vector<std::uint32_t>(13, 0xFF0000)))), 1);
    // Page 1 is 5 .. 9, the image 10; its length object is taken at the end: 11.
    // Placed 13 points wide, 18 high, at (10 + 1, 792 - 26 - 5).
    const std::vector<std::string> content = ContentSince(mark);
    EXPECT_EQ(std::vector<std::string>(content.begin() + 8, content.begin() + 12),
              (std::vector<std::string>{"q", "13 0 0 18 11 761 cm", "/Im10 Do", "Q"}));
    const std::string doc = Finish();
    EXPECT_EQ(Object(doc, 10), "10 0 obj\r\n<< \r\n/Type /XObject\r\n/Subtype /Image\r\n/Name /Im10\r\n/Width 13\r\n"
                               "/Height 1\r\n/BitsPerComponent 8\r\n/ColorSpace /DeviceRGB\r\n"
                               "/Filter /ASCIIHexDecode \r\n/Length 11 0 R >> \r\nstream\r\n" +
                                   Repeat("FF0000", 13) + "\r\n>\r\nendstream\r\nendobj\r\n");
    EXPECT_EQ(Object(doc, 11), "11 0 obj\r\n83\r\nendobj\r\n");  // 78 + 2, then ">" + 2
    EXPECT_NE(doc.find("/XObject << /Im10 10 0 R >>\r\n/ProcSet 8 0 R\r\n"), std::string::npos);
    EXPECT_NE(Object(doc, 8).find("[ /PDF /Text /ImageC ] "), std::string::npos);
}

TEST_F(PDFWriter, PixelRowsRunOnFromTheTopRow) {
    Begin({10});
    ImageRow(Picture(Variant::Blob(Bmp(2, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}))), 1);
    const std::string doc = Finish();
    EXPECT_EQ(StreamData(doc, 10), "FF000000FF000000FFFFFFFF>\r\n");
    EXPECT_EQ(Object(doc, 11), "11 0 obj\r\n27\r\nendobj\r\n");
}

TEST_F(PDFWriter, GraphicFieldWithoutPictureDataShowsNothingOrFails) {
    Begin({10});
    ImageRow(Picture(Variant::Null()), 1);
    EXPECT_EQ(pdf.ImageList.size(), 0u);
    EXPECT_EQ(Count(pdf.ContentBuffer.Memory(), " Do"), 0u);
    try {
        ImageRow(Picture(Variant::Blob("not a picture")), 1);
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_NE(e.Message.find("field Photo"), std::string::npos) << e.Message;
    }
}

TEST_F(PDFWriter, EleventhPageStartsASecondPageTreeNode) {
    pdf.SetPageHeight(54);  // RowOffset(2) = 44 >= 54 - 10: one row a page
    Begin({10, 10});
    TField& photo = Picture(Variant::Blob(Bmp(1, {0x000000})));
    for (int row = 0; row < 10; ++row) ImageRow(photo, 2);
    const std::string doc = Finish();
    // Node 4; page k is 5 + 7 (k - 1) with its four objects and two images, so page 10
    // is 68 with images 73 and 74, and page 11 (opened after row 10) takes node 75 and
    // page 76. The 20 image lengths are 81 .. 100 at the end.
    EXPECT_EQ(Object(doc, 3), "3 0 obj\r\n<< /Type /Pages \r\n/Kids [ 4 0 R 75 0 R  ] \r\n/Count 11 >> \r\nendobj\r\n");
    EXPECT_EQ(Object(doc, 4), "4 0 obj\r\n<< /Type /Pages \r\n"
                              "/Kids [  5 0 R 12 0 R 19 0 R 26 0 R 33 0 R 40 0 R 47 0 R 54 0 R 61 0 R 68 0 R ] \r\n"
                              "/Count 10 \r\n/Parent 3 0 R >> \r\nendobj\r\n");
    EXPECT_EQ(Object(doc, 75), "75 0 obj\r\n<< /Type /Pages \r\n/Kids [  76 0 R ] \r\n/Count 1 \r\n"
                               "/Parent 3 0 R >> \r\nendobj\r\n");
    EXPECT_NE(Object(doc, 76).find("/Parent 75 0 R \r\n"), std::string::npos);
    EXPECT_NE(Object(doc, 74).find("/Length 100 0 R >> "), std::string::npos);
    EXPECT_NE(doc.find("\r\nxref\r\n0 101\r\n"), std::string::npos);
    EXPECT_EQ(ObjectsInFileOrder(doc).size(), 100u);
}
