// A PDF library as the benchmark report sees it: the few drawing calls that the grid needs.
// A peer generator implements Canvas over its library; DrawReport walks the table into it in
// the order marrowlintide paints a cell (top rule on a page's first row, background box, text,
// left rule), then the table's right edge and the row rule. RunPeer is a peer's whole main:
// it takes DB and OUT.pdf from the command line and turns a std::exception into a message and
// exit status 1. Exceptions of other types pass through to the peer's own main.
#pragma once

#include <array>
#include <cstdio>
#include <exception>
#include <string_view>

#include "Layout.h"
#include "Table.h"

namespace mlt::bench {

class Canvas {
public:
    virtual ~Canvas() = default;
    virtual void BeginPage() = 0;
    virtual void EndPage() = 0;
    // A box filled with the colour, without outline.
    virtual void Box(int x, int y, int width, int height, Rgb fill) = 0;
    // Helvetica 8 in black with its baseline starting at (x, y); text.data() ends in a NUL.
    virtual void Text(int x, int y, std::string_view text) = 0;
    // A black line 1 point wide.
    virtual void Rule(int x0, int y0, int x1, int y1) = 0;
    // Completes the document and writes what is left of it to the file.
    virtual void Finish() = 0;
};

inline void DrawReport(Table& table, Canvas& canvas) {
    long long row = 0;
    int pageRow = 0;
    auto drawRow = [&](const std::array<std::string_view, Columns>& texts) {
        if (pageRow == 0) canvas.BeginPage();
        ++pageRow;
        const int y = BoxBottom(pageRow);
        const Rgb colour = RowColour(row++);
        for (int c = 0; c < Columns; ++c) {
            const int x = ColumnX[c];
            const int right = ColumnX[c + 1];
            if (pageRow == 1) canvas.Rule(x, TopRuleY, right, TopRuleY);
            canvas.Box(x, y, right - x, RowPitch - 1, colour);
            canvas.Text(x + 1, Baseline(pageRow), texts[c]);
            canvas.Rule(x, y, x, y + RowPitch);
        }
        canvas.Rule(TableRight, y, TableRight, y + RowPitch);
        canvas.Rule(Margin, y, TableRight, y);
        if (pageRow == RowsPerPage) {
            canvas.EndPage();
            pageRow = 0;
        }
    };
    drawRow(Table::Captions);
    while (table.Next()) drawRow(table.Cells());
    if (pageRow != 0) canvas.EndPage();
    canvas.Finish();
}

// makeCanvas(path) returns a std::unique_ptr to the peer's Canvas writing to that file.
template <class MakeCanvas>
int RunPeer(int argc, char** argv, MakeCanvas makeCanvas) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s DB OUT.pdf\n", argv[0]);
        return 2;
    }
    try {
        Table table(argv[1]);
        auto canvas = makeCanvas(argv[2]);
        DrawReport(table, *canvas);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", argv[0], e.what());
        return 1;
    }
}

}  // namespace mlt::bench
