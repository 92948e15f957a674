// libharu peer of the benchmark: the report drawn with HPDF page operators, streams left
// uncompressed (libharu's default, set explicitly). With MLT_HARU_TTF naming a TrueType
// file in the environment, the text is UTF-8 in that font, embedded, and every stream is
// compressed instead. libharu keeps the whole document in memory and writes it in
// HPDF_SaveToFile.
#include <hpdf.h>

#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>

#include "Canvas.h"

namespace {

using namespace mlt::bench;

class HaruCanvas final : public Canvas {
public:
    explicit HaruCanvas(std::string path) : Path(std::move(path)) {
        Doc = HPDF_New(&HaruCanvas::OnError, this);
        if (!Doc) throw std::runtime_error("libharu: cannot create a document");
        if (const char* ttf = std::getenv("MLT_HARU_TTF")) {
            HPDF_SetCompressionMode(Doc, HPDF_COMP_ALL);
            HPDF_UseUTFEncodings(Doc);
            Font = HPDF_GetFont(Doc, HPDF_LoadTTFontFromFile(Doc, ttf, HPDF_TRUE), "UTF-8");
        } else {
            HPDF_SetCompressionMode(Doc, HPDF_COMP_NONE);
            Font = HPDF_GetFont(Doc, "Helvetica", "WinAnsiEncoding");
        }
    }
    ~HaruCanvas() override { HPDF_Free(Doc); }

    void BeginPage() override {
        Page = HPDF_AddPage(Doc);
        HPDF_Page_SetWidth(Page, PageWidth);
        HPDF_Page_SetHeight(Page, PageHeight);
        HPDF_Page_SetLineWidth(Page, 1);
        HPDF_Page_SetFontAndSize(Page, Font, FontSize);
    }
    void EndPage() override {}
    void Box(int x, int y, int width, int height, Rgb fill) override {
        HPDF_Page_SetRGBFill(Page, fill.R / 255.0f, fill.G / 255.0f, fill.B / 255.0f);
        HPDF_Page_Rectangle(Page, x, y, width, height);
        HPDF_Page_Fill(Page);
    }
    void Text(int x, int y, std::string_view text) override {
        HPDF_Page_SetRGBFill(Page, 0, 0, 0);
        HPDF_Page_BeginText(Page);
        HPDF_Page_TextOut(Page, x, y, text.data());
        HPDF_Page_EndText(Page);
    }
    void Rule(int x0, int y0, int x1, int y1) override {
        HPDF_Page_MoveTo(Page, x0, y0);
        HPDF_Page_LineTo(Page, x1, y1);
        HPDF_Page_Stroke(Page);
    }
    void Finish() override {
        HPDF_SaveToFile(Doc, Path.c_str());
        if (!Error.empty()) throw std::runtime_error(Error);
    }

private:
    // libharu reports through this callback and carries on; the first error is kept and
    // raised by Finish, so no exception crosses the C library.
    static void OnError(HPDF_STATUS error, HPDF_STATUS detail, void* self) {
        auto& canvas = *static_cast<HaruCanvas*>(self);
        if (canvas.Error.empty())
            canvas.Error =
                "libharu error " + std::to_string(error) + ", detail " + std::to_string(detail);
    }

    std::string Path;
    std::string Error;
    HPDF_Doc Doc = nullptr;
    HPDF_Page Page = nullptr;
    HPDF_Font Font = nullptr;
};

}  // namespace

int main(int argc, char** argv) {
    return RunPeer(argc, argv, [](const char* path) { return std::make_unique<HaruCanvas>(path); });
}
