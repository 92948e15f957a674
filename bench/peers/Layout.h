// Geometry of the benchmark report, shared by every generator so that all of them draw the
// same page: US Letter, 18-point rows, 42 rows a page, six columns counted in characters of 8
// points between 10-point margins, and two light row colours in turn. Coordinates are PDF
// points from the bottom-left corner of the page. reportlab_canvas.py repeats these numbers
// in Python; keep the two in step.
#pragma once

#include <array>
#include <cstdint>

namespace mlt::bench {

inline constexpr int PageWidth = 612;
inline constexpr int PageHeight = 792;
inline constexpr int Margin = 10;
inline constexpr int RowPitch = 18;
inline constexpr int FontSize = 8;
inline constexpr int PointsPerChar = 8;
inline constexpr int Columns = 6;
inline constexpr std::array<int, Columns> ColumnChars = {5, 24, 14, 10, 10, 6};

// Page row n (from 1) has its baseline 18n + 8 below the top of the page and its box 5 below
// the baseline. A page is full when the next baseline would come within 10 points of the
// bottom, which on a 792-point page happens after row 42.
constexpr int Baseline(int pageRow) { return PageHeight - (RowPitch * pageRow + 8); }
constexpr int BoxBottom(int pageRow) { return Baseline(pageRow) - 5; }
inline constexpr int RowsPerPage = 42;
static_assert(Baseline(RowsPerPage) > Margin && Baseline(RowsPerPage + 1) <= Margin);

// The rule along the top of the first row of a page.
inline constexpr int TopRuleY = PageHeight - 13;

// Left edge of every column, then the table's right edge. The last column is stretched to
// the right margin, so the table always spans the page between the margins.
inline constexpr int TableRight = PageWidth - Margin;
constexpr std::array<int, Columns + 1> ColumnEdges() {
    std::array<int, Columns + 1> edges{};
    int x = Margin;
    for (int c = 0; c < Columns; ++c) {
        edges[c] = x;
        x += ColumnChars[c] * PointsPerChar;
    }
    edges[Columns] = TableRight;
    return edges;
}
inline constexpr std::array<int, Columns + 1> ColumnX = ColumnEdges();
static_assert(ColumnX[Columns - 1] < TableRight, "the columns must fit between the margins");

struct Rgb {
    std::uint8_t R, G, B;
};

// Row 0 is the captions row; records follow from row 1, so odd records take the second
// colour. bench/compare gives marrowlintide the same colours (#F2F2F2, then #DDEBF7).
inline constexpr std::array<Rgb, 2> RowColours = {Rgb{242, 242, 242}, Rgb{221, 235, 247}};
constexpr Rgb RowColour(long long row) { return RowColours[row % 2]; }

}  // namespace mlt::bench
