// Writes sample reports with the PDF writer for the external checks: for each NAME a
// NAME.pdf and a NAME.expect that lists, in Windows-1252, the page count, the page size
// and every cell text that a text extractor must give back.
//   write_samples OUTPUT_FOLDER
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "data/ADODataSet.h"
#include "data/MemoryRecordSource.h"
#include "pdf/DorvexToPDF.h"
#include "rtl/Exception.h"

using namespace mlt;

namespace {

struct Sample {
    std::string Name;
    std::vector<TColumnDescriptor> Columns;
    std::vector<std::vector<Variant>> Rows;
    std::function<void(TDorvexToPDF&)> Configure;
    int Pages = 1;
    std::string Size;
    std::vector<std::string> Texts;
};

TColumnDescriptor Column(std::string name, int type, int size = 0, bool graphic = false) {
    TColumnDescriptor column;
    column.Name = std::move(name);
    column.Type = type;
    column.DefinedSize = size;
    column.Graphic = graphic;
    return column;
}

std::string Numbered(std::string_view prefix, int n) {
    std::string text(prefix);
    text += std::to_string(n);
    return text;
}

// A 24-bit BMP of a width x height colour gradient.
std::string GradientBmp(int width, int height) {
    const int stride = (width * 3 + 3) / 4 * 4;
    std::string bmp = "BM";
    auto u16 = [&](int v) { bmp += {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8 & 0xFF)}; };
    auto u32 = [&](int v) {
        u16(v & 0xFFFF);
        u16(v >> 16 & 0xFFFF);
    };
    u32(54 + stride * height), u32(0), u32(54), u32(40), u32(width), u32(height), u16(1), u16(24);
    u32(0), u32(stride * height), u32(2835), u32(2835), u32(0), u32(0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            bmp += {static_cast<char>(255 * y / height), static_cast<char>(128), static_cast<char>(255 * x / width)};
        bmp.append(static_cast<std::size_t>(stride - width * 3), '\0');
    }
    return bmp;
}

Sample Report() {
    Sample s;
    s.Name = "report";
    s.Columns = {Column("Id", adInteger), Column("Name", adVarChar, 20), Column("Amount", adDouble)};
    for (int i = 1; i <= 450; ++i)
        s.Rows.push_back({Variant::Integer(i), Variant::String(Numbered("Customer ", i)),
                          Variant::Double(i * 12.5)});
    s.Configure = [](TDorvexToPDF& pdf) {
        pdf.ColorStyle.SetStyle(esBrick);
        pdf.AddTitle = true;
        pdf.SetCaptionColor(0xC0C0C0);
        pdf.Header.Add("Quarterly report");
        pdf.Footer.Add("End of report");
    };
    // Header, captions, 450 records and the footer: 453 rows, 42 a page.
    s.Pages = 11;
    s.Size = "612 x 792";
    s.Texts = {"Quarterly report", "Name", "Customer 1", "Customer 450", "5625", "End of report"};
    return s;
}

Sample Wide() {
    Sample s;
    s.Name = "wide";
    for (int c = 0; c < 9; ++c) s.Columns.push_back(Column(Numbered("C", c), adVarChar, 10));
    for (int r = 0; r < 50; ++r) {
        s.Rows.emplace_back();
        for (int c = 0; c < 9; ++c) s.Rows.back().push_back(Variant::String(Numbered(Numbered("r", r) + "c", c)));
    }
    s.Configure = [](TDorvexToPDF& pdf) { pdf.AddTitle = true; };
    s.Pages = 2;
    s.Size = "1224 x 792";  // 10 + 9 * 80 = 730 points
    s.Texts = {"r0c0", "r49c8", "C8"};
    return s;
}

Sample Images() {
    Sample s;
    s.Name = "images";
    s.Columns = {Column("Label", adVarChar, 12), Column("Picture", adLongVarBinary, 0, true),
                 Column("After", adVarChar, 8)};
    const int widths[] = {13, 2, 40, 200};
    for (int i = 0; i < 8; ++i)
        s.Rows.push_back({Variant::String(Numbered("pic ", i)),
                          Variant::Blob(GradientBmp(widths[i % 4], 1 + i * 3)), Variant::String("end")});
    s.Configure = [](TDorvexToPDF& pdf) { pdf.AddTitle = true; };
    s.Pages = 1;
    s.Size = "612 x 792";
    s.Texts = {"pic 0", "pic 7", "Picture"};
    return s;
}

Sample Accents() {
    Sample s;
    s.Name = "accents";
    s.Columns = {Column("Word", adVarChar, 24), Column("Other", adVarChar, 24)};
    const std::vector<std::string> words = {"Caf\xE9", "M\xFCller", "\xC5ngstr\xF6m", "na\xEFve fa\xE7" "ade",
                                            "(paren) back\\slash", "Stra\xDF" "e \x80 5"};
    for (const std::string& word : words) s.Rows.push_back({Variant::String(word), Variant::String(word + "!")});
    s.Configure = [](TDorvexToPDF& pdf) {
        pdf.Columns.Add().FieldName = "Word";
        TDvxColumn& other = pdf.Columns.Add();
        other.FieldName = "Other";
        other.Font.Name = "Courier New";
        other.Font.Style = fsBold;
        other.Font.Color = 0x0000C0;
        for (int i = 0; i < 2; ++i) pdf.Columns.Items(i).Width = 24;
    };
    s.Pages = 1;
    s.Size = "612 x 792";
    s.Texts = words;
    for (const std::string& word : words) s.Texts.push_back(word + "!");
    return s;
}

// 300 columns of 6, 0 and -3 characters, and a 20,000-character text with parentheses and
// backslashes: cells overlap and run off the page, and the file must stay valid.
Sample Limits() {
    Sample s;
    s.Name = "limits";
    constexpr int columns = 300;
    std::string longText;
    while (longText.size() < 20000) longText += "(long) \\ text ";
    s.Rows.emplace_back();
    for (int c = 0; c < columns; ++c) {
        s.Columns.push_back(Column(Numbered("C", c), adVarChar, 8));
        s.Rows.back().push_back(Variant::String(c == 0 ? longText : Numbered("v", c)));
    }
    s.Configure = [](TDorvexToPDF& pdf) {
        pdf.AddTitle = true;
        for (int c = 0; c < columns; ++c) {
            TDvxColumn& column = pdf.Columns.Add();
            column.FieldName = Numbered("C", c);
            column.Width = c % 3 == 0 ? 6 : c % 3 == 1 ? 0 : -3;
        }
    };
    // 100 x (6 + 0 - 3) characters of 8 points and the margin: 2410 points, so four
    // page widths of 612.
    s.Pages = 1;
    s.Size = "2448 x 792";
    s.Texts = {"v3", "v297"};
    return s;
}

void Write(const Sample& sample, const std::string& folder) {
    TADODataSet data;
    data.SetRecordset(std::make_unique<TMemoryRecordSource>(sample.Columns, sample.Rows));
    TDorvexToPDF pdf;
    pdf.ColumnSource = csDataSet;
    pdf.SetDataSet(&data);
    pdf.AnimatedStatus = false;
    pdf.Options = soDisableControls;
    pdf.KeyGenerator = "Marrowlintide sample " + sample.Name;
    sample.Configure(pdf);
    TMemoryStream stream;
    pdf.ExportToStream(&stream);

    std::ofstream(folder + "/" + sample.Name + ".pdf", std::ios::binary) << stream.Memory();
    std::ofstream expect(folder + "/" + sample.Name + ".expect", std::ios::binary);
    expect << "pages " << sample.Pages << "\nsize " << sample.Size << "\n";
    for (const std::string& text : sample.Texts) expect << "text " << text << "\n";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_samples OUTPUT_FOLDER\n");
        return 2;
    }
    try {
        for (const Sample& sample : {Report(), Wide(), Images(), Accents(), Limits()}) Write(sample, argv[1]);
    } catch (const Exception& e) {
        std::fprintf(stderr, "write_samples: %s\n", e.what());
        return 1;
    }
    return 0;
}
