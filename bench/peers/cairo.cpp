// cairo peer of the benchmark: the report drawn on cairo's PDF surface with the toy text API.
// cairo compresses every content stream and embeds a subset of the font that fontconfig
// finds for "Helvetica"; it offers no switch for either, so its output is not comparable
// byte for byte. Its y axis points down, hence the flips below.
#include <cairo-pdf.h>
#include <cairo.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "Canvas.h"

namespace {

using namespace mlt::bench;

class CairoCanvas final : public Canvas {
public:
    explicit CairoCanvas(const char* path)
        : Surface(cairo_pdf_surface_create(path, PageWidth, PageHeight)),
          Cr(cairo_create(Surface)) {
        Check(cairo_status(Cr));
        cairo_select_font_face(Cr, "Helvetica", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
        cairo_set_font_size(Cr, FontSize);
        cairo_set_line_width(Cr, 1);
    }
    ~CairoCanvas() override {
        cairo_destroy(Cr);
        cairo_surface_destroy(Surface);
    }

    void BeginPage() override {}
    void EndPage() override { cairo_show_page(Cr); }
    void Box(int x, int y, int width, int height, Rgb fill) override {
        cairo_set_source_rgb(Cr, fill.R / 255.0, fill.G / 255.0, fill.B / 255.0);
        cairo_rectangle(Cr, x, PageHeight - y - height, width, height);
        cairo_fill(Cr);
    }
    void Text(int x, int y, std::string_view text) override {
        cairo_set_source_rgb(Cr, 0, 0, 0);
        cairo_move_to(Cr, x, PageHeight - y);
        cairo_show_text(Cr, text.data());
    }
    void Rule(int x0, int y0, int x1, int y1) override {
        cairo_move_to(Cr, x0, PageHeight - y0);
        cairo_line_to(Cr, x1, PageHeight - y1);
        cairo_stroke(Cr);
    }
    void Finish() override {
        Check(cairo_status(Cr));
        cairo_surface_finish(Surface);
        Check(cairo_surface_status(Surface));
    }

private:
    static void Check(cairo_status_t status) {
        if (status != CAIRO_STATUS_SUCCESS)
            throw std::runtime_error(std::string("cairo: ") + cairo_status_to_string(status));
    }

    cairo_surface_t* Surface;
    cairo_t* Cr;
};

}  // namespace

int main(int argc, char** argv) {
    return RunPeer(argc, argv,
                   [](const char* path) { return std::make_unique<CairoCanvas>(path); });
}
