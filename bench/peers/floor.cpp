// Formatting floor of the benchmark: the operator text that marrowlintide writes for every
// cell and row of the report, formatted by hand with std::to_chars into reused buffers, and
// wrapped in the least PDF that holds it (one uncompressed content stream a page, one font, a
// flat page tree). No line allocates, so what it spends is reading SQLite, formatting and
// writing: the least that any writer of this report must spend.
//
//   floor DB OUT.pdf   write the report
//   floor --scan DB    only read every cell of the table, to show what SQLite alone costs
#include <array>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Layout.h"
#include "Table.h"

namespace {

using namespace mlt::bench;

constexpr std::string_view Eol = "\r\n";

// A colour together with its two operator lines, formatted once.
struct Paint {
    explicit Paint(Rgb rgb)
        : IsBlack(rgb.R == 0 && rgb.G == 0 && rgb.B == 0),
          IsWhite(rgb.R == 255 && rgb.G == 255 && rgb.B == 255) {
        std::string components;
        for (int c : {rgb.R, rgb.G, rgb.B}) {
            char digits[16];
            const auto end = std::to_chars(digits, digits + sizeof digits, c / 255.0,
                                           std::chars_format::fixed, 3)
                                 .ptr;
            components.append(digits, end).push_back(' ');
        }
        FillLine = components + "rg";
        StrokeLine = components + "RG";
    }
    bool IsBlack, IsWhite;
    std::string FillLine, StrokeLine;
};

const Paint Black(Rgb{0, 0, 0});
const Paint White(Rgb{255, 255, 255});

// A buffer that formats without allocating: Room makes sure that a stretch of text fits, and
// the appends after it only copy, unchecked. Its storage grows when a page needs more than it has
// ever needed, and is reused for every page after.
class Content {
public:
    explicit Content(size_t capacity) : Storage(capacity), End(Storage.data()) {}

    // Room for at least the given number of bytes more.
    void Room(size_t bytes) {
        const size_t used = End - Storage.data();
        if (Storage.size() - used < bytes) {
            Storage.resize(2 * (used + bytes));
            End = Storage.data() + used;
        }
    }

    Content& operator<<(std::string_view text) {
        std::memcpy(End, text.data(), text.size());
        End += text.size();
        return *this;
    }
    Content& operator<<(long long number) {
        End = std::to_chars(End, End + 24, number).ptr;
        return *this;
    }
    // Text between parentheses, with the three characters that end or escape a string escaped.
    void Literal(std::string_view text) {
        *End++ = '(';
        for (char c : text) {
            if (c == '\\' || c == '(' || c == ')') *End++ = '\\';
            *End++ = c;
        }
        *End++ = ')';
    }

    // A rectangle filled and stroked, leaving the fill colour black and the stroke colour
    // white; a colour equal to that resting value is not written. The size written is one
    // less than the size given.
    void Rect(int x, int y, int width, int height, const Paint& fill, const Paint& stroke) {
        if (!fill.IsBlack) *this << fill.FillLine << Eol;
        if (!stroke.IsWhite) *this << stroke.StrokeLine << Eol;
        *this << x << " " << y << " " << width - 1 << " " << height - 1 << " re" << Eol << "B"
              << Eol;
        if (!stroke.IsWhite) *this << White.StrokeLine << Eol;
        if (!fill.IsBlack) *this << Black.FillLine << Eol;
    }

    std::string_view View() const {
        return {Storage.data(), static_cast<size_t>(End - Storage.data())};
    }
    void Clear() { End = Storage.data(); }

private:
    std::vector<char> Storage;
    char* End;
};

// More than a row's operator text needs besides its cell texts, and more than any line of
// the file outside the pages.
constexpr size_t RowRoom = 4096;

// Draws one row on page row pageRow, in marrowlintide's order of operators.
void Row(Content& page, int pageRow, const Paint& colour,
         const std::array<std::string_view, Columns>& texts) {
    size_t room = RowRoom;
    for (std::string_view text : texts) room += 2 * text.size();  // every byte escaped, at worst
    page.Room(room);
    const int y = BoxBottom(pageRow);
    for (int c = 0; c < Columns; ++c) {
        const int x = ColumnX[c];
        const int width = ColumnX[c + 1] - x + 1;
        if (pageRow == 1) page.Rect(x, TopRuleY, width, 1, Black, Black);
        page.Rect(x, y, width, RowPitch, colour, colour);
        page << "BT" << Eol << "/F0 " << FontSize << " Tf" << Eol << FontSize + 2 << " TL" << Eol
             << x + 1 << " " << Baseline(pageRow) << " Td ";
        page.Literal(texts[c]);
        page << " Tj " << Eol << "ET" << Eol;
        page.Rect(x, y, 1, RowPitch + 1, Black, Black);
    }
    page.Rect(TableRight, y, 1, RowPitch + 1, Black, Black);
    page.Rect(Margin, y, PageWidth - 2 * Margin, 1, Black, Black);
}

// The file around the pages: objects 1 catalog, 2 page tree, 3 font, then a page object and
// its content stream for each page, then the page tree, the cross-reference table and the
// trailer.
class Document {
public:
    explicit Document(const char* path) : File(std::fopen(path, "wb")), Head(RowRoom) {
        if (!File) throw std::runtime_error(std::string(path) + ": " + std::strerror(errno));
        std::setvbuf(File, nullptr, _IOFBF, 1 << 20);
        Write("%PDF-1.2\r\n");
        Object(1) << "<< /Type /Catalog /Pages 2 0 R >>" << Eol;
        EndObject();
        Object(3) << "<< /Type /Font /Subtype /Type1 /Name /F0 /BaseFont /Helvetica "
                     "/Encoding /WinAnsiEncoding >>"
                  << Eol;
        EndObject();
    }
    ~Document() {
        if (File) std::fclose(File);
    }

    void AddPage(const Content& page) {
        const long long number = 4 + 2 * Pages++;
        Object(number) << "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " << PageWidth << " "
                       << PageHeight << "] /Resources << /Font << /F0 3 0 R >> "
                       << "/ProcSet [ /PDF /Text ] >> /Contents " << number + 1 << " 0 R >>" << Eol;
        EndObject();
        Object(number + 1) << "<< /Length " << static_cast<long long>(page.View().size()) << " >>"
                           << Eol << "stream" << Eol;
        Write(Head.View());
        Write(page.View());
        Head.Clear();
        Head << Eol << "endstream" << Eol;
        EndObject();
    }

    void Close() {
        Object(2) << "<< /Type /Pages /Count " << Pages << " /Kids [";
        Write(Head.View());
        for (long long page = 0; page < Pages; ++page) {
            Head.Clear();
            Head << " " << 4 + 2 * page << " 0 R";
            Write(Head.View());
        }
        Head.Clear();
        Head << " ] >>" << Eol;
        EndObject();
        const unsigned long long xref = Offset;
        Head << "xref" << Eol << "0 " << static_cast<long long>(Offsets.size()) << Eol
             << "0000000000 65535 f" << Eol;
        Write(Head.View());
        for (size_t number = 1; number < Offsets.size(); ++number) {
            char line[] = "0000000000 00000 n\r\n";
            char digits[20];
            const auto length =
                std::to_chars(digits, digits + sizeof digits, Offsets[number]).ptr - digits;
            std::memcpy(line + 10 - length, digits, length);
            Write({line, sizeof line - 1});
        }
        Head.Clear();
        Head << "trailer" << Eol << "<< /Root 1 0 R /Size "
             << static_cast<long long>(Offsets.size()) << " >>" << Eol << "startxref" << Eol
             << static_cast<long long>(xref) << Eol << "%%EOF" << Eol;
        Write(Head.View());
        if (std::fclose(std::exchange(File, nullptr)) != 0)
            throw std::runtime_error(std::string("write: ") + std::strerror(errno));
    }

private:
    Content& Object(long long number) {
        if (Offsets.size() <= static_cast<size_t>(number)) Offsets.resize(number + 1);
        Offsets[number] = Offset;
        Head.Clear();
        return Head << number << " 0 obj" << Eol;
    }
    void EndObject() {
        Head << "endobj" << Eol;
        Write(Head.View());
        Head.Clear();
    }
    void Write(std::string_view bytes) {
        if (std::fwrite(bytes.data(), 1, bytes.size(), File) != bytes.size())
            throw std::runtime_error(std::string("write: ") + std::strerror(errno));
        Offset += bytes.size();
    }

    std::FILE* File;
    Content Head;
    std::vector<unsigned long long> Offsets{0};
    unsigned long long Offset = 0;
    long long Pages = 0;
};

void WriteReport(const char* db, const char* out) {
    Table table(db);
    Document document(out);
    Content page(1 << 17);
    const Paint colours[] = {Paint(RowColours[0]), Paint(RowColours[1])};
    long long row = 0;
    int pageRow = 0;
    auto addRow = [&](const std::array<std::string_view, Columns>& texts) {
        Row(page, ++pageRow, colours[row++ % 2], texts);
        if (pageRow == RowsPerPage) {
            document.AddPage(page);
            page.Clear();
            pageRow = 0;
        }
    };
    addRow(Table::Captions);
    while (table.Next()) addRow(table.Cells());
    if (pageRow != 0) document.AddPage(page);
    document.Close();
}

// Reads every cell and prints how many bytes of text the table holds.
void Scan(const char* db) {
    Table table(db);
    unsigned long long bytes = 0;
    while (table.Next())
        for (std::string_view text : table.Cells()) bytes += text.size();
    std::printf("%llu\n", bytes);
}

}  // namespace

int main(int argc, char** argv) {
    const bool scan = argc == 3 && std::strcmp(argv[1], "--scan") == 0;
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s DB OUT.pdf | %s --scan DB\n", argv[0], argv[0]);
        return 2;
    }
    try {
        if (scan)
            Scan(argv[2]);
        else
            WriteReport(argv[1], argv[2]);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", argv[0], e.what());
        return 1;
    }
}
