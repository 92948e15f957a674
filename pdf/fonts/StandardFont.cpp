#include "pdf/fonts/StandardFont.h"

namespace mlt {

const TStandardFontMetrics& FindStandardFontMetrics(std::string_view name) {
    for (const auto& font : kStandardFontMetrics)
        if (font.Name == name) return font;
    return kStandardFontMetrics[4];  // Helvetica
}

double TStandardFont::Measure(std::string_view text, double size) const {
    long units = 0;
    for (char c : text) units += metrics_.Widths[static_cast<unsigned char>(c)];
    return static_cast<double>(units) * size / 1000.0;
}

std::size_t TStandardFont::Fit(std::string_view text, double size, double width) const {
    const double limit = width * 1000.0 / size;
    long units = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        units += metrics_.Widths[static_cast<unsigned char>(text[i])];
        if (static_cast<double>(units) > limit) return i;
    }
    return text.size();
}

void TStandardFont::ShowText(std::string& out, std::string_view text, double) {
    out += '(';
    for (char c : text) {
        if (c == '(' || c == ')' || c == '\\') out += '\\';
        if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n";
        else out += c;
    }
    out += ") Tj";
}

void TStandardFont::WriteObjects(TObjectWriter& writer, std::int64_t fontObject) {
    std::string body = "<< /Type /Font /Subtype /Type1 /BaseFont /";
    body += metrics_.Name;
    // ZapfDingbats keeps its own encoding.
    if (metrics_.Name != "ZapfDingbats") body += " /Encoding /WinAnsiEncoding";
    body += " >>";
    writer.WriteObject(fontObject, body);
}

}  // namespace mlt
