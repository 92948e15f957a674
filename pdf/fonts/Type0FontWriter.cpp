#include "pdf/fonts/Type0FontWriter.h"

#include <string>

#include "pdf/fonts/Flate.h"
#include "pdf/fonts/FontSubset.h"
#include "pdf/fonts/PdfNumber.h"
#include "pdf/fonts/ToUnicodeCMap.h"

namespace mlt {

namespace {

std::string Ref(std::int64_t object) { return std::to_string(object) + " 0 R"; }

// Six capital letters that tell this subset from others of the same font: a hash of the
// glyphs it holds, so the same document always gets the same tag.
std::string SubsetTag(const TTrueTypeFont& font) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const auto& entry : font.UsedGlyphs()) hash = (hash ^ entry.first) * 1099511628211ull;
    std::string tag;
    for (int i = 0; i < 6; ++i, hash /= 26) tag += static_cast<char>('A' + hash % 26);
    return tag;
}

// The W array: runs of consecutive glyph ids share one list of widths.
std::string WidthsArray(const TTrueTypeFont& font) {
    std::string widths = "[";
    std::int64_t next = -1;
    for (const auto& entry : font.UsedGlyphs()) {
        std::uint32_t glyph = entry.first;
        if (glyph != next) widths += (next < 0 ? "" : "]\n") + std::to_string(glyph) + " [";
        else widths += ' ';
        AppendPdfNumber(widths, font.GlyphWidth(glyph));
        next = glyph + 1;
    }
    widths += next < 0 ? "]" : "]]";
    return widths;
}

std::string Stream(std::string_view dictionary, const std::string& compressed) {
    return "<< " + std::string(dictionary) + " /Filter /FlateDecode /Length " + std::to_string(compressed.size()) +
           " >>\nstream\n" + compressed + "\nendstream";
}

}  // namespace

TEmbeddedFontSize WriteType0Font(const TTrueTypeFont& font, std::int64_t fontObject, TObjectWriter& writer) {
    const std::string name = SubsetTag(font) + '+' + font.PostScriptName();
    const TFontMetrics& m = font.Metrics();
    std::int64_t cidFont = writer.NewObject(), descriptor = writer.NewObject(), program = writer.NewObject(),
                 toUnicode = writer.NewObject();

    writer.WriteObject(fontObject, "<< /Type /Font /Subtype /Type0 /BaseFont /" + name +
                                     " /Encoding /Identity-H /DescendantFonts [" + Ref(cidFont) +
                                     "] /ToUnicode " + Ref(toUnicode) + " >>");
    writer.WriteObject(cidFont, "<< /Type /Font /Subtype /CIDFontType2 /BaseFont /" + name +
                                  " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >>"
                                  " /FontDescriptor " + Ref(descriptor) + " /CIDToGIDMap /Identity /W " + WidthsArray(font) + " >>");
    // Flags: symbolic (4), since the glyphs are reached by id rather than a standard
    // encoding, and italic (64) for a slanted face.
    int flags = 4 | (m.ItalicAngle != 0 ? 64 : 0);
    writer.WriteObject(descriptor, "<< /Type /FontDescriptor /FontName /" + name + " /Flags " + std::to_string(flags) +
                                     " /FontBBox [" + std::to_string(m.BBox[0]) + ' ' + std::to_string(m.BBox[1]) +
                                     ' ' + std::to_string(m.BBox[2]) + ' ' + std::to_string(m.BBox[3]) +
                                     "] /ItalicAngle " + std::to_string(static_cast<int>(m.ItalicAngle)) +
                                     " /Ascent " + std::to_string(m.Ascent) + " /Descent " +
                                     std::to_string(m.Descent) + " /CapHeight " + std::to_string(m.CapHeight) +
                                     " /StemV 80 /FontFile2 " + Ref(program) + " >>");
    const std::string subset = SubsetUsedGlyphs(font);
    const std::string stored = FlateCompress(subset);
    writer.WriteObject(program, Stream("/Length1 " + std::to_string(subset.size()), stored));
    writer.WriteObject(toUnicode, Stream("", FlateCompress(ToUnicodeCMap(font))));
    return {subset.size(), stored.size()};
}

}  // namespace mlt
