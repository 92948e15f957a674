#include "pdf/fonts/TextShaper.h"

#include <fribidi.h>
#include <hb.h>

#include <algorithm>

namespace mlt {

namespace {

struct TRange {
    char32_t First, Last;
};

// Whether `c` lies in one of `ranges`, which are sorted and do not overlap.
template <std::size_t N>
bool InRanges(const TRange (&ranges)[N], char32_t c) {
    for (const TRange& r : ranges)
        if (c <= r.Last) return c >= r.First;
    return false;
}

// Characters that take their glyph and advance straight from the font: no combining
// marks, no joining, no right-to-left, nothing beyond the Basic Multilingual Plane.
bool IsSimple(char32_t c) {
    static constexpr TRange ranges[] = {
        {0x0000, 0x02FF}, {0x0370, 0x0482}, {0x048A, 0x058F}, {0x1E00, 0x200A}, {0x2010, 0x2029},
        {0x202F, 0x205F}, {0x2070, 0x20CF}, {0x2100, 0x2BFF}, {0x2E80, 0x3029}, {0x3030, 0x3098},
        {0x309B, 0x9FFF}, {0xAC00, 0xD7A3}, {0xF900, 0xFAFF}, {0xFF00, 0xFFEF},
    };
    return InRanges(ranges, c);
}

// Controls and the default-ignorable characters (joiners, direction marks, variation
// selectors): they draw nothing, and a font that lacks them lacks nothing.
bool IsIgnorable(char32_t c) {
    static constexpr TRange ranges[] = {
        {0x0000, 0x001F}, {0x007F, 0x009F}, {0x00AD, 0x00AD}, {0x034F, 0x034F}, {0x061C, 0x061C},
        {0x115F, 0x1160}, {0x17B4, 0x17B5}, {0x180B, 0x180F}, {0x200B, 0x200F}, {0x202A, 0x202E},
        {0x2060, 0x206F}, {0x3164, 0x3164}, {0xFE00, 0xFE0F}, {0xFEFF, 0xFEFF}, {0xFFA0, 0xFFA0},
        {0xFFF0, 0xFFF8}, {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A}, {0xE0000, 0xE0FFF},
    };
    return InRanges(ranges, c);
}

bool IsMark(char32_t c) {
    switch (hb_unicode_general_category(hb_unicode_funcs_get_default(), c)) {
    case HB_UNICODE_GENERAL_CATEGORY_NON_SPACING_MARK:
    case HB_UNICODE_GENERAL_CATEGORY_SPACING_MARK:
    case HB_UNICODE_GENERAL_CATEGORY_ENCLOSING_MARK:
        return true;
    default:
        return false;
    }
}

bool IsRealScript(hb_script_t s) {
    return s != HB_SCRIPT_COMMON && s != HB_SCRIPT_INHERITED && s != HB_SCRIPT_UNKNOWN;
}

}  // namespace

TTextShaper::TTextShaper(TFontChain& chain) : chain_(chain), buffer_(hb_buffer_create()) {}

TTextShaper::~TTextShaper() { hb_buffer_destroy(buffer_); }

const TShapedText& TTextShaper::Shape(std::string_view text) {
    if (shapedValid_ && text == shapedText_) return shaped_;
    shapedValid_ = false;  // until this shaping completes
    shaped_.Glyphs.clear();
    shaped_.Width = 0;
    shaped_.Missing = 0;
    shaped_.NeedsActualText = false;
    Decode(text);
    shaped_.Additive = PlaceSimple();
    if (!shaped_.Additive) {
        shaped_.Glyphs.clear();
        PlaceComplex();
    }
    for (const TPlacedGlyph& g : shaped_.Glyphs) shaped_.Width += g.Advance;
    shapedText_.assign(text);
    shapedValid_ = true;
    return shaped_;
}

// UTF-8 to code points through HarfBuzz, which reads malformed bytes as U+FFFD. Plain
// ASCII, the most common cell, is copied as it is.
void TTextShaper::Decode(std::string_view text) {
    if (std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        shaped_.CodePoints.assign(text.begin(), text.end());
        return;
    }
    hb_buffer_clear_contents(buffer_);
    hb_buffer_add_utf8(buffer_, text.data(), static_cast<int>(text.size()), 0, static_cast<int>(text.size()));
    unsigned count = 0;
    const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(buffer_, &count);
    shaped_.CodePoints.resize(count);
    for (unsigned i = 0; i < count; ++i) shaped_.CodePoints[i] = infos[i].codepoint;
}

TTextShaper::TAsciiGlyph TTextShaper::LookUpAscii(char32_t c) {
    if (IsIgnorable(c)) return {TAsciiGlyph::Ignorable};
    const int font = chain_.FontFor(c);
    if (font < 0) return {TAsciiGlyph::Missing};
    const TCachedGlyph& glyph = chain_.Fonts[font]->Glyph(c);
    return {font, glyph.Glyph, glyph.Width};
}

bool TTextShaper::PlaceSimple() {
    const std::u32string& cps = shaped_.CodePoints;
    for (std::uint32_t i = 0; i < cps.size(); ++i) {
        char32_t c = cps[i];
        int font;
        TCachedGlyph glyph;
        if (c < ascii_.size()) {  // most cells are ASCII: one array read per character
            TAsciiGlyph& entry = ascii_[c];
            if (entry.Font == TAsciiGlyph::Unknown) entry = LookUpAscii(c);
            if (entry.Font == TAsciiGlyph::Ignorable) continue;
            font = entry.Font;
            glyph = {entry.Glyph, entry.Width};
        } else {
            if (!IsSimple(c)) return false;
            if (IsIgnorable(c)) continue;
            font = chain_.FontFor(c);
            if (font >= 0) glyph = chain_.Fonts[font]->Glyph(c);
        }
        if (font < 0) return false;
        TPlacedGlyph& placed = shaped_.Glyphs.emplace_back();
        placed.Glyph = glyph.Glyph;
        placed.Font = static_cast<std::uint32_t>(font);
        placed.Advance = glyph.Width;
        placed.PdfWidth = glyph.Width;
        placed.TextBegin = i;
        placed.TextEnd = i + 1;
    }
    return true;
}

void TTextShaper::PlaceComplex() {
    const std::u32string& cps = shaped_.CodePoints;
    const auto n = static_cast<FriBidiStrIndex>(cps.size());
    if (n == 0) return;
    bidiTypes_.resize(cps.size());
    bracketTypes_.resize(cps.size());
    levels_.resize(cps.size());
    auto* chars = reinterpret_cast<const FriBidiChar*>(cps.data());
    fribidi_get_bidi_types(chars, n, bidiTypes_.data());
    fribidi_get_bracket_types(chars, n, bidiTypes_.data(), bracketTypes_.data());
    FriBidiParType direction = FRIBIDI_PAR_ON;
    if (!fribidi_get_par_embedding_levels_ex(bidiTypes_.data(), bracketTypes_.data(), n, &direction, levels_.data()))
        std::fill(levels_.begin(), levels_.end(), 0);

    // A font per character: the first of the chain that has it. Marks and ignorables
    // stay with their base's font, so that a run is not cut between them.
    fontOf_.resize(cps.size());
    int previous = -1;
    for (std::size_t i = 0; i < cps.size(); ++i) {
        char32_t c = cps[i];
        bool ignorable = IsIgnorable(c);
        if (previous >= 0 && (ignorable || (IsMark(c) && chain_.Fonts[previous]->Has(c)))) {
            fontOf_[i] = previous;
            continue;
        }
        int font = ignorable ? 0 : chain_.FontFor(c);
        if (font < 0) {
            font = 0;
            ++shaped_.Missing;
        }
        fontOf_[i] = previous = font;
    }
    // Text extraction reads right-to-left glyphs back by itself; an ActualText span would
    // hand it the logical text to reverse once more.
    shaped_.NeedsActualText = std::none_of(levels_.begin(), levels_.end(), [](signed char l) { return l % 2; });
    SplitRuns();
    for (TRun& run : runs_) ShapeRun(run);
    OrderRuns();
}

void TTextShaper::SplitRuns() {
    const std::u32string& cps = shaped_.CodePoints;
    hb_unicode_funcs_t* unicode = hb_unicode_funcs_get_default();
    runs_.clear();
    for (std::uint32_t i = 0; i < cps.size(); ++i) {
        auto script = static_cast<std::uint32_t>(hb_unicode_script(unicode, cps[i]));
        bool real = IsRealScript(static_cast<hb_script_t>(script));
        if (!runs_.empty()) {
            TRun& last = runs_.back();
            bool sameScript = !real || !IsRealScript(static_cast<hb_script_t>(last.Script)) || last.Script == script;
            if (last.Level == levels_[i] && last.Font == fontOf_[i] && sameScript) {
                last.End = i + 1;
                if (real) last.Script = script;
                continue;
            }
        }
        runs_.push_back({i, i + 1, levels_[i], fontOf_[i], script, 0, 0});
    }
}

void TTextShaper::ShapeRun(TRun& run) {
    const std::u32string& cps = shaped_.CodePoints;
    TTrueTypeFont& font = *chain_.Fonts[run.Font];
    hb_buffer_clear_contents(buffer_);
    hb_buffer_add_utf32(buffer_, reinterpret_cast<const std::uint32_t*>(cps.data()), static_cast<int>(cps.size()),
                        run.Begin, static_cast<int>(run.End - run.Begin));
    hb_buffer_set_direction(buffer_, run.Level % 2 ? HB_DIRECTION_RTL : HB_DIRECTION_LTR);
    if (IsRealScript(static_cast<hb_script_t>(run.Script)))
        hb_buffer_set_script(buffer_, static_cast<hb_script_t>(run.Script));
    hb_buffer_guess_segment_properties(buffer_);
    unsigned flags = HB_BUFFER_FLAG_REMOVE_DEFAULT_IGNORABLES;
    if (run.Begin == 0) flags |= HB_BUFFER_FLAG_BOT;
    if (run.End == cps.size()) flags |= HB_BUFFER_FLAG_EOT;
    hb_buffer_set_flags(buffer_, static_cast<hb_buffer_flags_t>(flags));
    hb_shape(font.HbFont(), buffer_, nullptr, 0);

    unsigned count = 0;
    const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(buffer_, &count);
    const hb_glyph_position_t* positions = hb_buffer_get_glyph_positions(buffer_, &count);
    // The characters of a glyph reach from its cluster to the next cluster of the run.
    clusters_.clear();
    for (unsigned i = 0; i < count; ++i) clusters_.push_back(infos[i].cluster);
    std::sort(clusters_.begin(), clusters_.end());
    const auto scale = static_cast<float>(font.Scale());
    run.GlyphBegin = static_cast<std::uint32_t>(shaped_.Glyphs.size());
    for (unsigned i = 0; i < count; ++i) {
        TPlacedGlyph& placed = shaped_.Glyphs.emplace_back();
        placed.Glyph = infos[i].codepoint;
        placed.Font = static_cast<std::uint32_t>(run.Font);
        placed.Advance = positions[i].x_advance * scale;
        placed.OffsetX = positions[i].x_offset * scale;
        placed.OffsetY = positions[i].y_offset * scale;
        placed.PdfWidth = font.GlyphWidth(placed.Glyph);
        placed.TextBegin = infos[i].cluster;
        auto next = std::upper_bound(clusters_.begin(), clusters_.end(), infos[i].cluster);
        placed.TextEnd = next == clusters_.end() ? run.End : *next;
    }
    run.GlyphEnd = static_cast<std::uint32_t>(shaped_.Glyphs.size());
}

// Runs from logical to visual order: from the highest level down to the lowest odd
// level, every stretch of runs at that level or above is reversed.
void TTextShaper::OrderRuns() {
    int highest = 0, lowestOdd = 127;
    for (const TRun& run : runs_) {
        highest = std::max(highest, run.Level);
        if (run.Level % 2) lowestOdd = std::min(lowestOdd, run.Level);
    }
    for (int level = highest; level >= lowestOdd; --level) {
        for (auto it = runs_.begin(); it != runs_.end();) {
            if (it->Level < level) {
                ++it;
                continue;
            }
            auto end = std::find_if(it, runs_.end(), [&](const TRun& r) { return r.Level < level; });
            std::reverse(it, end);
            it = end;
        }
    }
    ordered_.clear();
    for (const TRun& run : runs_)
        ordered_.insert(ordered_.end(), shaped_.Glyphs.begin() + run.GlyphBegin, shaped_.Glyphs.begin() + run.GlyphEnd);
    shaped_.Glyphs.swap(ordered_);
}

}  // namespace mlt
