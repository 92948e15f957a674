#include "pdf/fonts/FontSubset.h"

#include <hb-subset.h>

#include "rtl/Exception.h"

namespace mlt {

TFontSubset SubsetUsedGlyphs(const TTrueTypeFont& font) {
    hb_subset_input_t* input = hb_subset_input_create_or_fail();
    if (!input) throw Exception("Out of memory subsetting " + font.Path());
    hb_set_t* glyphs = hb_subset_input_glyph_set(input);
    hb_set_add(glyphs, 0);
    for (const TUsedGlyph& used : font.UsedGlyphs()) hb_set_add(glyphs, used.Glyph);  // unused codes add glyph 0
    hb_set_t* dropped = hb_subset_input_set(input, HB_SUBSET_SETS_DROP_TABLE_TAG);
    for (hb_tag_t tag : {HB_TAG('G', 'S', 'U', 'B'), HB_TAG('G', 'P', 'O', 'S'), HB_TAG('G', 'D', 'E', 'F'),
                         HB_TAG('k', 'e', 'r', 'n'), HB_TAG('B', 'A', 'S', 'E'), HB_TAG('J', 'S', 'T', 'F'),
                         HB_TAG('M', 'A', 'T', 'H')})
        hb_set_add(dropped, tag);
    hb_subset_input_set_flags(input, HB_SUBSET_FLAGS_NO_HINTING);
    hb_subset_plan_t* plan = hb_subset_plan_create_or_fail(font.HbFace(), input);
    hb_subset_input_destroy(input);
    hb_face_t* subset = plan ? hb_subset_plan_execute_or_fail(plan) : nullptr;
    if (!subset) {
        hb_subset_plan_destroy(plan);
        throw Exception("Cannot subset the font " + font.Path());
    }
    TFontSubset out;
    const hb_map_t* newGlyphs = hb_subset_plan_old_to_new_glyph_mapping(plan);
    for (const TUsedGlyph& used : font.UsedGlyphs()) {
        const hb_codepoint_t glyph = hb_map_get(newGlyphs, used.Glyph);
        out.Glyphs.push_back(glyph == HB_MAP_VALUE_INVALID ? 0 : glyph);
    }
    hb_subset_plan_destroy(plan);
    hb_blob_t* blob = hb_face_reference_blob(subset);
    unsigned length = 0;
    const char* data = hb_blob_get_data(blob, &length);
    out.Program.assign(data, length);
    hb_blob_destroy(blob);
    hb_face_destroy(subset);
    return out;
}

}  // namespace mlt
