#include "pdf/fonts/FontCMaps.h"

#include "pdf/fonts/GlyphCode.h"
#include "pdf/fonts/Utf16Hex.h"

namespace mlt {

namespace {

std::string CMap(std::string_view ordering, std::string_view name, int type, std::string_view mappings) {
    std::string cmap = "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
                       "/CIDSystemInfo << /Registry (Adobe) /Ordering (";
    cmap += ordering;
    cmap += ") /Supplement 0 >> def\n/CMapName /";
    cmap += name;
    cmap += " def\n/CMapType " + std::to_string(type) + " def\n";
    cmap += kGlyphCodeSpace;
    cmap += mappings;
    cmap += "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
    return cmap;
}

}  // namespace

std::string EncodingCMap(std::string_view name) { return CMap("Identity", name, 1, kGlyphCodeCids); }

std::string ToUnicodeCMap(const TTrueTypeFont& font) {
    // bfchar sections hold at most 100 entries each.
    std::string mappings, entries;
    int count = 0;
    auto flush = [&] {
        if (count == 0) return;
        mappings += std::to_string(count) + " beginbfchar\n" + entries + "endbfchar\n";
        entries.clear();
        count = 0;
    };
    const auto& used = font.UsedGlyphs();
    for (std::uint32_t code = 0; code < used.size(); ++code) {
        if (!used[code].Used || used[code].Text.empty()) continue;
        AppendGlyphCodeHex(entries, code);
        entries += " <";
        AppendUtf16Hex(entries, used[code].Text);
        entries += ">\n";
        if (++count == 100) flush();
    }
    flush();
    return CMap("UCS", "Adobe-Identity-UCS", 2, mappings);
}

}  // namespace mlt
