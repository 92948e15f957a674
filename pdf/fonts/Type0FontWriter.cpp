#include "pdf/fonts/Type0FontWriter.h"

#include <string>

#include "pdf/fonts/Flate.h"
#include "pdf/fonts/FontSubset.h"
#include "pdf/fonts/GlyphCode.h"
#include "pdf/fonts/PdfNumber.h"
#include "pdf/fonts/FontCMaps.h"

namespace mlt {

namespace {

std::string Ref(std::int64_t object) { return std::to_string(object) + " 0 R"; }

// Six capital letters that tell this subset from others of the same font: a hash of the
// glyphs it holds, so the same document always gets the same tag.
std::string SubsetTag(const TTrueTypeFont& font) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const TUsedGlyph& used : font.UsedGlyphs()) hash = (hash ^ used.Glyph) * 1099511628211ull;  // 0 if unused
    std::string tag;
    for (int i = 0; i < 6; ++i, hash /= 26) tag += static_cast<char>('A' + hash % 26);
    return tag;
}

// The W array: runs of consecutive CIDs (code values) share one list of widths.
std::string WidthsArray(const TTrueTypeFont& font) {
    std::string widths = "[";
    std::int64_t next = -1;
    const auto& used = font.UsedGlyphs();
    for (std::uint32_t code = 0; code < used.size(); ++code) {
        if (!used[code].Used) continue;
        const std::uint32_t cid = GlyphCodeValue(code);
        if (cid != next) widths += (next < 0 ? "" : "]\n") + std::to_string(cid) + " [";
        else widths += ' ';
        AppendPdfNumber(widths, font.GlyphWidth(used[code].Glyph));
        next = cid + 1;
    }
    widths += next < 0 ? "]" : "]]";
    return widths;
}

// The CIDToGIDMap: two bytes of the subset's glyph id for every CID up to the highest
// one used.
std::string CidToGidMap(const TFontSubset& subset) {
    const auto& glyphs = subset.Glyphs;
    std::string map(2 * (GlyphCodeValue(static_cast<std::uint32_t>(glyphs.size()) - 1) + 1), '\0');
    for (std::uint32_t code = 0; code < glyphs.size(); ++code) {
        const std::uint32_t cid = GlyphCodeValue(code);
        map[2 * cid] = static_cast<char>(glyphs[code] >> 8);
        map[2 * cid + 1] = static_cast<char>(glyphs[code] & 0xFF);
    }
    return map;
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
                 toUnicode = writer.NewObject(), encoding = writer.NewObject(), cidToGid = writer.NewObject();

    writer.WriteObject(fontObject, "<< /Type /Font /Subtype /Type0 /BaseFont /" + name + " /Encoding " +
                                     Ref(encoding) + " /DescendantFonts [" + Ref(cidFont) + "] /ToUnicode " +
                                     Ref(toUnicode) + " >>");
    writer.WriteObject(cidFont, "<< /Type /Font /Subtype /CIDFontType2 /BaseFont /" + name +
                                  " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >>"
                                  " /FontDescriptor " + Ref(descriptor) + " /CIDToGIDMap " + Ref(cidToGid) + " /W " +
                                  WidthsArray(font) + " >>");
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
    const TFontSubset subset = SubsetUsedGlyphs(font);
    TFlateCompressor flate(9);  // font data is written once, so it is worth packing tightly
    const std::string stored = flate.Compress(subset.Program);
    writer.WriteObject(program, Stream("/Length1 " + std::to_string(subset.Program.size()), stored));
    writer.WriteObject(toUnicode, Stream("", flate.Compress(ToUnicodeCMap(font))));
    const std::string cmapName = name.substr(0, 6) + "-Codes";
    writer.WriteObject(encoding, Stream("/Type /CMap /CMapName /" + cmapName +
                                            " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >>",
                                        flate.Compress(EncodingCMap(cmapName))));
    writer.WriteObject(cidToGid, Stream("", flate.Compress(CidToGidMap(subset))));
    return {subset.Program.size(), stored.size()};
}

}  // namespace mlt
