// libharu doing the modern report's work: streams compressed, the captions row at the top of
// every page, "Page N" at the foot of every page, and the amounts right-aligned by their
// width from HPDF_Page_TextWidth. Same grid, colours and rules as the other peers.
#include <hpdf.h>

#include <cstdio>
#include <stdexcept>
#include <string>

#include "Layout.h"
#include "Table.h"

namespace {

using namespace mlt::bench;

constexpr int AmountColumn = 3;
// The footer band under the last row.
constexpr int FooterY = 4;
// One row fewer than the grid holds, for the footer.
constexpr int RowsOnPage = RowsPerPage - 1;

void OnError(HPDF_STATUS error, HPDF_STATUS detail, void* first) {
    auto& message = *static_cast<std::string*>(first);
    if (message.empty()) message = "libharu error " + std::to_string(error) + ", detail " + std::to_string(detail);
}

class Report {
public:
    explicit Report(std::string& error) {
        Doc = HPDF_New(OnError, &error);
        if (!Doc) throw std::runtime_error("libharu: cannot create a document");
        HPDF_SetCompressionMode(Doc, HPDF_COMP_ALL);
        Font = HPDF_GetFont(Doc, "Helvetica", "WinAnsiEncoding");
    }
    ~Report() { HPDF_Free(Doc); }

    void Row(const std::array<std::string_view, Columns>& texts) {
        if (PageRow == 0) {
            BeginPage();
            DrawRow(Table::Captions);
        }
        DrawRow(texts);
    }

    void Save(const char* path) { HPDF_SaveToFile(Doc, path); }

private:
    void DrawRow(const std::array<std::string_view, Columns>& texts) {
        ++PageRow;
        const int y = BoxBottom(PageRow);
        const Rgb colour = RowColour(RowIndex++);
        for (int c = 0; c < Columns; ++c) {
            const int x = ColumnX[c], right = ColumnX[c + 1];
            if (PageRow == 1) Rule(x, TopRuleY, right, TopRuleY);
            HPDF_Page_SetRGBFill(Page, colour.R / 255.0f, colour.G / 255.0f, colour.B / 255.0f);
            HPDF_Page_Rectangle(Page, x, y, right - x, RowPitch - 1);
            HPDF_Page_Fill(Page);
            const std::string text(texts[c]);
            float left = x + 1;
            if (c == AmountColumn) left = right - 2 - HPDF_Page_TextWidth(Page, text.c_str());
            Text(left, Baseline(PageRow), text.c_str());
            Rule(x, y, x, y + RowPitch);
        }
        Rule(TableRight, y, TableRight, y + RowPitch);
        Rule(Margin, y, TableRight, y);
        if (PageRow == RowsOnPage) PageRow = 0;
    }

    void BeginPage() {
        Page = HPDF_AddPage(Doc);
        HPDF_Page_SetWidth(Page, PageWidth);
        HPDF_Page_SetHeight(Page, PageHeight);
        HPDF_Page_SetLineWidth(Page, 1);
        HPDF_Page_SetFontAndSize(Page, Font, FontSize);
        Text(Margin, FooterY, ("Page " + std::to_string(++PageNumber)).c_str());
    }
    void Text(float x, float y, const char* text) {
        HPDF_Page_SetRGBFill(Page, 0, 0, 0);
        HPDF_Page_BeginText(Page);
        HPDF_Page_TextOut(Page, x, y, text);
        HPDF_Page_EndText(Page);
    }
    void Rule(int x0, int y0, int x1, int y1) {
        HPDF_Page_MoveTo(Page, x0, y0);
        HPDF_Page_LineTo(Page, x1, y1);
        HPDF_Page_Stroke(Page);
    }

    HPDF_Doc Doc = nullptr;
    HPDF_Page Page = nullptr;
    HPDF_Font Font = nullptr;
    int PageRow = 0;
    int PageNumber = 0;
    long long RowIndex = 0;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s DB OUT.pdf\n", argv[0]);
        return 2;
    }
    try {
        std::string error;
        Table table(argv[1]);
        Report report(error);
        while (table.Next()) report.Row(table.Cells());
        report.Save(argv[2]);
        if (!error.empty()) throw std::runtime_error(error);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", argv[0], e.what());
        return 1;
    }
}
