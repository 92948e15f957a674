#include "pdf/ModernPDF.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "pdf/fonts/PdfNumber.h"
#include "pdf/fonts/StandardFont.h"
#include "pdf/fonts/Utf16Hex.h"
#include "rtl/CodePage.h"
#include "rtl/Exception.h"

namespace mlt {

using namespace std::literals;

namespace {

constexpr double kMargin = 28;    // around the page
constexpr double kBand = 22;      // the header band above the table, the footer band below
constexpr double kRowHeight = 18;
constexpr double kPad = 3;        // between a cell's edge and its text
constexpr double kMaxFitted = 216;  // the widest a column fitted to its data gets (3 inches)
constexpr double kRule = 0.5;
constexpr int kFooterSize = 8;
constexpr std::int64_t kCatalog = 1, kPages = 2, kInfo = 3, kPageTotal = 4;
// Pages hang from nodes of this many under the root, so that no object grows with the table.
constexpr std::size_t kPagesPerNode = 256;

// Appends a number with at most two decimals, then a blank.
void AppendNum(std::string& out, double value) {
    AppendPdfNumber(out, value, 2);
    out += ' ';
}

std::string Num(double value) {
    std::string out;
    AppendNum(out, value);
    out.pop_back();
    return out;
}

// Appends the operator that makes `color` the fill colour, then a blank.
void AppendFillColor(std::string& out, TColor color) {
    const TPDFColorLine line = TDorvexToPDF::ColorToPDF(color, false);
    out.append(line.data(), line.size());
    out += ' ';
}

// A text string of the document information: UTF-16BE unless the text is plain ASCII.
std::string TextString(std::string_view text) {
    std::string out = "(";
    if (!IsAscii(text)) {
        const std::u16string wide = AnsiToWide(text);
        out = "<FEFF";
        AppendUtf16Hex(out, std::u32string(wide.begin(), wide.end()));
        return out + ">";
    }
    for (char c : text) {
        if (c == '(' || c == ')' || c == '\\') out += '\\';
        out += c;
    }
    return out + ")";
}

bool IsDatePattern(std::string_view pattern) {
    return pattern.find_first_of("yYmMdDhHnNsS") != std::string_view::npos;
}

TFont FooterFont() {
    TFont font;
    font.Size = kFooterSize;
    return font;
}

// The document's own objects written through the output stage, for the fonts.
class TStageWriter : public TObjectWriter {
public:
    TStageWriter(TPageCompressor& out, std::function<std::int64_t()> next) : out_(out), next_(std::move(next)) {}
    std::int64_t NewObject() override { return next_(); }
    void WriteObject(std::int64_t number, std::string_view body) override { out_.PutObject(number, std::string(body)); }
    void WriteStream(std::int64_t number, std::string_view dictionary, std::string_view data) override {
        out_.PutStream(number, std::string(dictionary), std::string(data));
    }

private:
    TPageCompressor& out_;
    std::function<std::int64_t()> next_;
};

}  // namespace

TModernPDF::~TModernPDF() = default;

std::string TModernPDF::FormatValue(const Variant& value, const std::string& pattern, const TFormatSettings& settings) {
    if (IsDatePattern(pattern)) {
        if (value.Type() != VarType::Date) return value.AsString(settings);
        return FormatDateTime(pattern, value.AsDouble(), settings);
    }
    if (!value.IsNumeric()) return value.AsString(settings);
    const std::size_t dot = pattern.find('.');
    const int decimals = dot == std::string::npos ? 0 : static_cast<int>(pattern.size() - dot - 1);
    const bool thousands = pattern.find(',') != std::string::npos;
    char digits[400];
    auto [end, error] = std::to_chars(digits, digits + sizeof digits, value.AsDouble(), std::chars_format::fixed,
                                      std::clamp(decimals, 0, 15));
    std::string plain(digits, end);
    const bool negative = !plain.empty() && plain[0] == '-';
    if (negative) plain.erase(0, 1);
    std::size_t point = plain.find('.');
    std::string whole = plain.substr(0, point), fraction = point == std::string::npos ? "" : plain.substr(point + 1);
    std::string out;
    for (std::size_t i = 0; i < whole.size(); ++i) {
        if (thousands && i > 0 && (whole.size() - i) % 3 == 0) out += settings.ThousandSeparator;
        out += whole[i];
    }
    if (!fraction.empty()) out += settings.DecimalSeparator + fraction;
    return negative && out.find_first_not_of("0.,") != std::string::npos ? "-" + out : out;
}

TModernPDF::TFontSlot& TModernPDF::FontFor(const TFont& font) {
    // Runs of cells share their font: the last one is kept.
    if (lastSlot_ && lastFont_.Name == font.Name && lastFont_.Style == font.Style) return *lastSlot_;
    lastFont_.Name = font.Name;
    lastFont_.Style = font.Style;
    lastSlot_ = &FindFont(font);
    return *lastSlot_;
}

TModernPDF::TFontSlot& TModernPDF::FindFont(const TFont& font) {
    const std::string_view name = GetPDFFontName(font);
    auto found = fonts_.find(name);
    if (found != fonts_.end()) return found->second;
    TFontSlot slot;
    slot.Font = MakeFont(font);
    slot.Object = NextObjectNumber();
    slot.Resource = "F" + std::to_string(fonts_.size());
    slot.EllipsisWidth = slot.Font->Measure(slot.Font->Ellipsis(), 1);
    // An embedded font's fallbacks are fonts of their own, named after it: F0_1, F0_2, ...
    if ((slot.Embedded = dynamic_cast<TEmbeddedFont*>(slot.Font.get()))) {
        std::vector<std::string> names;
        for (std::size_t i = 1; i <= slot.Embedded->FallbackCount(); ++i) {
            names.push_back(slot.Resource + "_" + std::to_string(i));
            slot.Fallbacks.emplace_back(names.back(), 0);
        }
        slot.Embedded->SetRunFonts(slot.Resource, names);
    }
    return fonts_.emplace(std::string(name), std::move(slot)).first->second;
}

std::unique_ptr<TReportFont> TModernPDF::MakeFont(const TFont& font) const {
    if (FontFactory) return FontFactory(font);
    return std::make_unique<TStandardFont>(GetPDFFontName(font));
}

// A fallback font joins the resources, and the document, once it has drawn.
void TModernPDF::AppendFontResources(std::string& out, TFontSlot& slot) {
    out += " /" + slot.Resource + " " + std::to_string(slot.Object) + " 0 R";
    for (std::size_t i = 0; i < slot.Fallbacks.size(); ++i) {
        auto& [name, object] = slot.Fallbacks[i];
        if (object == 0) {
            if (!slot.Embedded->FallbackUsed(i + 1)) continue;
            object = NextObjectNumber();
            slot.Embedded->SetFallbackObject(i + 1, object);
        }
        out += " /" + name + " " + std::to_string(object) + " 0 R";
    }
}

std::string_view TModernPDF::CellText(TField* field, int col, const std::string& text) {
    if (!field || col < 0 || static_cast<std::size_t>(col) >= Formats.size() || Formats[col].empty() || field->IsNull())
        return text;
    formatted_ = FormatValue(field->Value(), Formats[col], FormatSettings());
    return formatted_;
}

// --- Column widths and the page ---

void TModernPDF::PrepareExecute() {
    TDorvexToPDF::PrepareExecute();
    MeasureColumns();
    double width = PageWidth > 0 ? PageWidth : DefaultPageWidth;
    double height = PageHeight > 0 ? PageHeight : DefaultPageHeight;
    double table = 0;
    for (double w : widths_) table += w;
    const bool turn = Orientation == TPageOrientation::Landscape ||
                      (Orientation == TPageOrientation::Auto && table > width - 2 * kMargin && height > width);
    if (turn != (width > height)) std::swap(width, height);
    pageWidth_ = width;
    pageHeight_ = height;
    FitColumnsToPage(width - 2 * kMargin);
}

void TModernPDF::MeasureColumns() {
    std::vector<TDvxColumn*> visible;
    for (int i = 0; i < Columns.Count(); ++i)
        if (Columns.Items(i).Visible) visible.push_back(&Columns.Items(i));
    widths_.assign(visible.size(), 0);
    std::vector<bool> fitted(visible.size(), false);
    // Measuring fonts, one per font name, apart from the document's (they show nothing).
    // Neighbouring columns mostly share their font: the last one asked for is kept.
    std::map<std::string, std::unique_ptr<TReportFont>, std::less<>> measuring;
    const TFont* lastFont = nullptr;
    TReportFont* lastMeasuring = nullptr;
    auto fontOf = [&](const TFont& font) -> TReportFont& {
        if (lastFont && lastFont->Name == font.Name && lastFont->Style == font.Style) return *lastMeasuring;
        const std::string_view name = GetPDFFontName(font);
        auto found = measuring.find(name);
        if (found == measuring.end()) found = measuring.emplace(std::string(name), MakeFont(font)).first;
        lastFont = &font;
        lastMeasuring = found->second.get();
        return *lastMeasuring;
    };
    for (std::size_t k = 0; k < visible.size(); ++k) {
        const TDvxColumn& column = *visible[k];
        const int user = k < UserWidths.size() ? UserWidths[k] : 0;
        if (user > 0) {
            widths_[k] = user * fontOf(column.Font).Measure("0", column.Font.Size) + 2 * kPad;
            continue;
        }
        fitted[k] = true;
        if (AddTitle)
            widths_[k] = fontOf(column.Title.Font).Measure(column.Title.Caption, column.Title.Font.Size) + 2 * kPad;
    }
    if (std::find(fitted.begin(), fitted.end(), true) == fitted.end()) return;

    // One walk over the records measures the texts of the fitted columns.
    std::vector<TReportFont*> fonts;
    for (TDvxColumn* column : visible) fonts.push_back(&fontOf(column->Font));
    TDvxCustomDataEngine& engine = *CurrentEngine;
    std::string text;
    engine.First();
    for (int n = 0; !engine.Eof() && WithinRecordLimit(n); ++n) {
        for (std::size_t k = 0; k < visible.size(); ++k) {
            if (!fitted[k]) continue;
            TField* field = engine.GetField(*visible[k]);
            if (!field) continue;
            double width = kRowHeight * 2;  // a picture
            if (field->BlobType() != ftGraphic) {
                GetFieldText(field, text);
                width = fonts[k]->Measure(CellText(field, static_cast<int>(k), text), visible[k]->Font.Size);
            }
            widths_[k] = std::max(widths_[k], std::min(width + 2 * kPad, kMaxFitted));
        }
        engine.Next();
    }
    engine.First();
    for (double& w : widths_) w = std::max(w, 4 * kPad);
}

// Shrinks the widest columns to one common width, so that the table fits the page.
void TModernPDF::FitColumnsToPage(double usable) {
    double table = 0;
    for (double w : widths_) table += w;
    if (table > usable && !widths_.empty()) {
        std::vector<double> sorted = widths_;
        std::sort(sorted.begin(), sorted.end());
        double rest = usable, cap = 0;
        for (std::size_t i = 0; i < sorted.size(); ++i) {
            const double share = rest / static_cast<double>(sorted.size() - i);
            if (sorted[i] > share) {
                cap = share;
                break;
            }
            rest -= sorted[i];
        }
        for (double& w : widths_) w = std::min(w, cap);
    }
    lefts_.clear();
    double x = kMargin;
    for (double w : widths_) {
        lefts_.push_back(x);
        x += w;
    }
}

// --- Document ---

void TModernPDF::WriteFileBegin() {
    if (!OutputStream) throw Exception("The PDF writer has no output stream");
    XRefList.Clear();
    ImageList.clear();
    fonts_.clear();
    lastSlot_ = nullptr;
    pages_.clear();
    nodes_.clear();
    captions_.clear();
    afterData_ = false;
    pictureBytes_ = 0;
    NextObject = kPageTotal + 1;
    out_ = std::make_unique<TPageCompressor>(*OutputStream, XRefList, Compress);
    out_->PutRaw("%PDF-1.7\n%\xE2\xE3\xCF\xD3\n");
}

void TModernPDF::BeginPage() {
    fills_.clear();
    text_.clear();
    pictures_.clear();
    lineX_ = lineY_ = 0;
    pagePictures_.clear();
    pageRows_ = 0;
    top_ = pageHeight_ - kMargin - kBand;
    tableTop_ = tableBottom_ = 0;
    selectedFont_ = nullptr;
    if (!Title.empty()) {
        TFont font;
        font.Size = 12;
        font.Style = fsBold;
        DrawLineText(Title, kMargin, pageWidth_ - 2 * kMargin, pageHeight_ - kMargin - 14, taCenter, font);
    }
    if (!captions_.empty() && !afterData_) DrawCaptions();
}

void TModernPDF::EndPage() {
    FlushBackground();
    DrawColumnRules();
    // The rectangles, the black ones (the rules) last so that they lie over the
    // backgrounds; then the texts and pictures.
    std::string content;
    bool black = false;
    for (int pass = 0; pass < 2; ++pass)
        for (const auto& [color, path] : fills_) {
            if ((color == clBlack) != (pass == 1)) continue;
            AppendFillColor(content, color);
            content += path;
            content += "f\n"sv;
            black = color == clBlack;
        }
    if (!text_.empty()) {
        content += black ? "BT\n"sv : "0 g BT\n"sv;
        content += text_;
        content += "ET\n"sv;
    }
    content += pictures_;
    // The footer band: "Page X of " here, the total from the one form object.
    const TFont footer = FooterFont();
    TFontSlot& slot = FontFor(footer);
    const std::string text = "Page " + std::to_string(pages_.size() + 1) + " of ";
    const double x = pageWidth_ - kMargin - 90, y = kMargin + 4;
    content += "BT /" + slot.Resource + " " + std::to_string(kFooterSize) + " Tf " + Num(x) + " " + Num(y) + " Td ";
    slot.Font->ShowText(content, text, kFooterSize);
    content += " ET\nq 1 0 0 1 " + Num(x + slot.Font->Measure(text, kFooterSize)) + " " + Num(y) + " cm /Tot Do Q\n";

    std::string resources = "/Font <<";
    for (auto& [name, font] : fonts_) AppendFontResources(resources, font);
    resources += " >> /XObject << /Tot " + std::to_string(kPageTotal) + " 0 R";
    for (const auto& [number, name] : pagePictures_) resources += " /" + name + " " + std::to_string(number) + " 0 R";
    resources += " >>";
    if (pages_.size() % kPagesPerNode == 0) nodes_.push_back(NextObjectNumber());
    const std::int64_t page = NextObjectNumber(), contents = NextObjectNumber();
    out_->PutStream(contents, "", std::move(content));
    out_->PutObject(page, "<< /Type /Page /Parent " + std::to_string(nodes_.back()) + " 0 R /MediaBox [0 0 " + Num(pageWidth_) + " " + Num(pageHeight_) +
                              "] /Resources << " + resources + " >> /Contents " + std::to_string(contents) + " 0 R >>");
    pages_.push_back(page);
}

void TModernPDF::WriteFileEnd() {
    EndPage();
    TFontSlot& footer = FontFor(FooterFont());
    std::string total = "BT /" + footer.Resource + " " + std::to_string(kFooterSize) + " Tf 0 0 Td ";
    footer.Font->ShowText(total, std::to_string(pages_.size()), kFooterSize);
    std::string totalFonts;
    AppendFontResources(totalFonts, footer);
    out_->PutStream(kPageTotal,
                    "/Type /XObject /Subtype /Form /BBox [0 -4 100 " + std::to_string(kFooterSize + 4) +
                        "] /Resources << /Font <<" + totalFonts + " >> >>",
                    total + " ET");
    TStageWriter writer(*out_, [this] { return NextObjectNumber(); });
    for (auto& [name, slot] : fonts_) slot.Font->WriteObjects(writer, slot.Object);
    for (TPDFImage& image : ImageList) {
        const TBitmap& bitmap = *image.Bitmap;
        std::string pixels;
        pixels.reserve(static_cast<std::size_t>(bitmap.Width()) * bitmap.Height() * TBitmap::BytesPerPixel);
        for (int row = 0; row < bitmap.Height(); ++row)
            pixels.append(reinterpret_cast<const char*>(bitmap.ScanLine(row)),
                          static_cast<std::size_t>(bitmap.Width()) * TBitmap::BytesPerPixel);
        out_->PutStream(image.Number,
                        "/Type /XObject /Subtype /Image /Width " + std::to_string(bitmap.Width()) + " /Height " +
                            std::to_string(bitmap.Height()) + " /ColorSpace /DeviceRGB /BitsPerComponent 8",
                        std::move(pixels));
        image.Bitmap.reset();
    }
    std::string info = "<< /Producer (Marrowlintide) /CreationDate (D:" + FormatPDFDate(Now()) + ")";
    if (!Title.empty()) info += " /Title " + TextString(Title);
    out_->PutObject(kInfo, info + " >>");
    out_->PutObject(kCatalog, "<< /Type /Catalog /Pages 2 0 R >>");
    std::string nodes;
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
        const std::size_t first = i * kPagesPerNode, last = std::min(pages_.size(), first + kPagesPerNode);
        std::string kids;
        for (std::size_t p = first; p < last; ++p) kids += std::to_string(pages_[p]) + " 0 R ";
        out_->PutObject(nodes_[i], "<< /Type /Pages /Parent 2 0 R /Kids [ " + kids + "] /Count " +
                                       std::to_string(last - first) + " >>");
        nodes += std::to_string(nodes_[i]) + " 0 R ";
    }
    out_->PutObject(kPages, "<< /Type /Pages /Kids [ " + nodes + "] /Count " + std::to_string(pages_.size()) + " >>");
    const std::int64_t xrefOffset = out_->Finish();
    out_.reset();

    std::string xref = "xref\n0 " + std::to_string(NextObject) + "\n0000000000 65535 f \n";
    // Written in blocks, so that a long table never sits in memory whole.
    XRefList.ForEach([&](std::int64_t offset) {
        char entry[32];
        std::snprintf(entry, sizeof entry, "%010lld 00000 n \n", static_cast<long long>(offset));
        xref += entry;
        if (xref.size() >= 65536) {
            OutputStream->Write(xref.data(), xref.size());
            xref.clear();
        }
    });
    xref += "trailer\n<< /Size " + std::to_string(NextObject) + " /Root 1 0 R /Info 3 0 R >>\nstartxref\n" +
            std::to_string(xrefOffset) + "\n%%EOF\n";
    OutputStream->Write(xref.data(), xref.size());
    XRefList.Clear();
    ImageList.clear();
    fonts_.clear();
    std::vector<std::int64_t>().swap(pages_);
    std::vector<std::int64_t>().swap(nodes_);
}

// --- Rows and cells ---

void TModernPDF::WriteRowStart(bool isHeaderRow) {
    headerRow_ = isHeaderRow;
    captionRow_ = false;
    if (top_ - kRowHeight < kMargin + kBand && pageRows_ > 0) {
        EndPage();
        BeginPage();
    }
}

void TModernPDF::WriteRowEnd(bool isHeaderRow) {
    if (captionRow_) {
        DrawCaptions();  // the captions row of the first page, gathered cell by cell
        return;
    }
    FlushBackground();
    if (!isHeaderRow) {
        const double right = lefts_.empty() ? pageWidth_ - kMargin : lefts_.back() + widths_.back();
        FillRect(kMargin, top_ - kRowHeight, right - kMargin, kRule, clBlack);
        AddTableRow();
    }
    top_ -= kRowHeight;
    ++pageRows_;
}

void TModernPDF::WriteDataEnd() {
    TDorvexToPDF::WriteDataEnd();
    afterData_ = true;
}

void TModernPDF::WriteData(TField* field, TCellType cellType, int row, int col, const std::string& text,
                           TAlignment alignment, TFont* font, TColor color) {
    const TFont& cellFont = font ? *font : Columns.Items(0).Font;
    if (headerRow_ && !afterData_ && !field && row == Header.Count() && col >= 0 &&
        static_cast<std::size_t>(col) < widths_.size()) {
        captions_.push_back({text, cellFont, CaptionColor != -1 ? CaptionColor : color, alignment});
        captionRow_ = true;
        return;
    }
    if (headerRow_) {  // a header or footer line across the page
        DrawLineText(text, kMargin, pageWidth_ - 2 * kMargin, top_ - 12, taLeftJustify, cellFont);
        return;
    }
    if (col < 0 || static_cast<std::size_t>(col) >= widths_.size()) return;
    const double x = lefts_[col], width = widths_[col];
    AddBackground(x, width, color);
    if (field && field->BlobType() == ftGraphic) DrawPicture(*field, x, width);
    else DrawLineText(CellText(field, col, text), x, width, top_ - 12, alignment, cellFont);
}

void TModernPDF::DrawCaptions() {
    const double right = lefts_.back() + widths_.back();
    FillRect(kMargin, top_, right - kMargin, kRule, clBlack);
    for (std::size_t k = 0; k < captions_.size() && k < widths_.size(); ++k) {
        const TCaption& caption = captions_[k];
        const double x = lefts_[k], width = widths_[k];
        AddBackground(x, width, caption.Color);
        DrawLineText(caption.Text, x, width, top_ - 12, caption.Alignment, caption.Font);
    }
    FlushBackground();
    FillRect(kMargin, top_ - kRowHeight, right - kMargin, kRule, clBlack);
    AddTableRow();
    top_ -= kRowHeight;
    ++pageRows_;
}

void TModernPDF::DrawLineText(std::string_view text, double x, double width, double baseline,
                              TAlignment alignment, const TFont& font) {
    if (text.empty()) return;
    TFontSlot& slot = FontFor(font);
    const double size = font.Size, room = width - 2 * kPad;
    std::string_view shown = text;
    double textWidth = slot.Font->Measure(shown, size);
    if (textWidth > room + 0.001) {
        // Only a text too wide is cut; most are not and skip the copy. A cell narrower
        // than "…" shows nothing rather than spill over its neighbours.
        if (slot.EllipsisWidth * size > width) return;
        const std::string_view ellipsis = slot.Font->Ellipsis();
        cut_.assign(text.substr(0, slot.Font->Fit(text, size, std::max(0.0, room - slot.EllipsisWidth * size))));
        cut_ += ellipsis;
        shown = cut_;
        textWidth = slot.Font->Measure(shown, size);
    }
    double left = x + kPad;
    if (alignment == taRightJustify) left = x + width - kPad - textWidth;
    else if (alignment == taCenter) left = x + (width - textWidth) / 2;
    // Black texts need no colour: the page's text object starts black, and a coloured
    // text ends with "0 g".
    const bool colored = ColorToRGB(font.Color) != 0;
    if (colored) AppendFillColor(text_, font.Color);
    // The font stays selected until the page ends: a font's ShowText ends on the font it
    // started with.
    if (selectedFont_ != &slot || selectedSize_ != size) {
        if (slot.SelectedSize != size) {  // "/F0 8 Tf ", made once per font and size
            slot.Select = '/' + slot.Resource + ' ';
            AppendNum(slot.Select, size);
            slot.Select += "Tf "sv;
            slot.SelectedSize = size;
        }
        text_ += slot.Select;
        selectedFont_ = &slot;
        selectedSize_ = size;
    }
    // Each text starts from the one before it; positions are kept in hundredths of a
    // point, as written, so that the moves do not drift.
    const double dx = std::round((left - lineX_) * 100) / 100, dy = std::round((baseline - lineY_) * 100) / 100;
    char move[2 * TPdfNumberCache::kRoom + 3];
    char* end = numbers_.Put(numbers_.Put(move, dx), dy);
    std::memcpy(end, "Td ", 3);
    text_.append(move, end + 3);
    lineX_ += dx;
    lineY_ += dy;
    slot.Font->ShowText(text_, shown, size);
    text_ += colored ? " 0 g\n"sv : "\n"sv;
}

// A picture as large as its cell allows, with its aspect ratio, centred in the cell.
void TModernPDF::DrawPicture(TField& field, double x, double width) {
    const Variant& value = field.Value();
    if (value.IsNullOrEmpty()) return;
    const TPDFImage& image = AddPicture(field, pictureBytes_);
    const TBitmap& bitmap = *image.Bitmap;
    const double boxWidth = width - 2, boxHeight = kRowHeight - 2;
    const double scale = std::min(boxWidth / bitmap.Width(), boxHeight / bitmap.Height());
    const double w = bitmap.Width() * scale, h = bitmap.Height() * scale;
    const std::string name = "Im" + std::to_string(image.Number);
    pagePictures_.emplace_back(image.Number, name);
    pictures_ += "q " + Num(w) + " 0 0 " + Num(h) + " " + Num(x + (width - w) / 2) + " " +
                Num(top_ - kRowHeight + (kRowHeight - h) / 2) + " cm /" + name + " Do Q\n";
}

void TModernPDF::FillRect(double x, double y, double width, double height, TColor color) {
    auto fill = std::find_if(fills_.begin(), fills_.end(), [color](const auto& f) { return f.first == color; });
    if (fill == fills_.end()) fill = fills_.insert(fills_.end(), {color, std::string()});
    char rect[4 * TPdfNumberCache::kRoom + 3];
    char* end = numbers_.Put(numbers_.Put(numbers_.Put(numbers_.Put(rect, x), y), width), height);
    std::memcpy(end, "re\n", 3);
    fill->second.append(rect, end + 3);
}

// A cell's background, merged with the one before it when that has the same colour and
// ends where this one starts: a row of one colour becomes one rectangle.
void TModernPDF::AddBackground(double x, double width, TColor color) {
    if (background_.Width > 0 && background_.Color == color && std::abs(background_.X + background_.Width - x) < 0.001) {
        background_.Width += width;
        return;
    }
    if (background_.Width > 0) FillRect(background_.X, top_ - kRowHeight, background_.Width, kRowHeight, background_.Color);
    background_ = {x, width, color};
}

// Draws the background that waits to merge with the next cell's.
void TModernPDF::FlushBackground() {
    if (background_.Width > 0) FillRect(background_.X, top_ - kRowHeight, background_.Width, kRowHeight, background_.Color);
    background_.Width = 0;
}

// The row at top_ belongs to the table, whose column rules the page draws at its end.
void TModernPDF::AddTableRow() {
    if (tableTop_ == tableBottom_) tableTop_ = top_;
    tableBottom_ = top_ - kRowHeight;
}

// One rule down the page left of every column and right of the last, over the page's rows.
void TModernPDF::DrawColumnRules() {
    if (tableTop_ == tableBottom_ || lefts_.empty()) return;
    const double height = tableTop_ - tableBottom_;
    for (double left : lefts_) FillRect(left, tableBottom_, kRule, height, clBlack);
    FillRect(lefts_.back() + widths_.back() - kRule, tableBottom_, kRule, height, clBlack);
}

}  // namespace mlt
