// A cell-file writer that records every call with its arguments, one text line per call,
// so tests can compare whole call sequences.
#pragma once

#include <string>
#include <vector>

#include "export/DorvexToCellFile.h"

namespace mlt::test {

class RecordingWriter : public TDorvexToCellFile {
public:
    using TDorvexToCellFile::TDorvexToCellFile;

    void WriteFileBegin() override {
        TDorvexToCellFile::WriteFileBegin();
        Calls.push_back("FileBegin");
    }
    void WriteFileEnd() override { Calls.push_back("FileEnd"); }
    void WriteDimension(int rows, int cols) override {
        Calls.push_back("Dimension " + std::to_string(rows) + " " + std::to_string(cols));
    }
    void WriteColumnWidth(int col, int width) override {
        Calls.push_back("Width " + std::to_string(col) + " " + std::to_string(width));
    }
    void WriteHeader() override {
        Calls.push_back("Header");
        TDorvexToCellFile::WriteHeader();
    }
    void WriteRowStart(bool header) override { Calls.push_back(header ? "RowStart H" : "RowStart"); }
    void WriteRowEnd(bool header) override {
        TDorvexToCellFile::WriteRowEnd(header);
        Calls.push_back(header ? "RowEnd H" : "RowEnd");
    }
    void WriteData(TField* field, TCellType type, int row, int col, const std::string& text, TAlignment alignment,
                   TFont* font, TColor color) override {
        Cell cell{field, type, row, col, text, alignment, font ? font->Name : "-", color};
        Cells.push_back(cell);
        Calls.push_back("Data " + std::to_string(row) + "," + std::to_string(col) + " " + text);
        // Something must reach the stream, or nothing would show the files.
        WriteString(text);
    }

    struct Cell {
        TField* Field;
        TCellType Type;
        int Row, Col;
        std::string Text;
        TAlignment Alignment;
        std::string FontName;
        TColor Color;
    };
    std::vector<std::string> Calls;
    std::vector<Cell> Cells;
};

}  // namespace mlt::test
