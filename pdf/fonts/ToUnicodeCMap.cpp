#include "pdf/fonts/ToUnicodeCMap.h"

#include "pdf/fonts/Utf16Hex.h"

namespace mlt {

std::string ToUnicodeCMap(const TTrueTypeFont& font) {
    std::string cmap =
        "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
        "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
        "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
        "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
    // bfchar sections hold at most 100 entries each.
    std::string entries;
    int count = 0;
    auto flush = [&] {
        if (count == 0) return;
        cmap += std::to_string(count) + " beginbfchar\n" + entries + "endbfchar\n";
        entries.clear();
        count = 0;
    };
    for (const auto& [glyph, text] : font.UsedGlyphs()) {
        if (text.empty()) continue;
        entries += '<';
        AppendHex16(entries, glyph);
        entries += "> <";
        AppendUtf16Hex(entries, text);
        entries += ">\n";
        if (++count == 100) flush();
    }
    flush();
    cmap += "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
    return cmap;
}

}  // namespace mlt
