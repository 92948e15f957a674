// PoDoFo peer of the benchmark: the report drawn with PdfPainter into a PdfStreamedDocument,
// which writes each page's objects as soon as the page is finished. Streams are left
// uncompressed by making "no filter" the default before anything is created.
#include <podofo/podofo.h>

#include <memory>

#include "Canvas.h"

namespace {

using namespace mlt::bench;
using namespace PoDoFo;

class PodofoCanvas final : public Canvas {
public:
    explicit PodofoCanvas(const char* path) : Doc(path), Font(Doc.CreateFont("Helvetica")) {
        Font->SetFontSize(FontSize);
    }

    void BeginPage() override {
        Painter.SetPage(Doc.CreatePage(PdfRect(0, 0, PageWidth, PageHeight)));
        Painter.SetFont(Font);
        Painter.SetStrokeWidth(1);
    }
    void EndPage() override { Painter.FinishPage(); }
    void Box(int x, int y, int width, int height, Rgb fill) override {
        Painter.SetColor(fill.R / 255.0, fill.G / 255.0, fill.B / 255.0);
        Painter.Rectangle(x, y, width, height);
        Painter.Fill();
    }
    void Text(int x, int y, std::string_view text) override {
        Painter.SetColor(0, 0, 0);
        Painter.DrawText(x, y, PdfString(text.data(), static_cast<pdf_long>(text.size())));
    }
    void Rule(int x0, int y0, int x1, int y1) override { Painter.DrawLine(x0, y0, x1, y1); }
    void Finish() override { Doc.Close(); }

private:
    PdfStreamedDocument Doc;
    PdfFont* Font;
    PdfPainter Painter;
};

}  // namespace

int main(int argc, char** argv) {
    PdfStream::eDefaultFilter = ePdfFilter_None;
    try {
        return RunPeer(argc, argv,
                       [](const char* path) { return std::make_unique<PodofoCanvas>(path); });
    } catch (const PdfError& e) {
        e.PrintErrorMsg();
        return 1;
    }
}
