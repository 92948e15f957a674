// Cell-file export driver: walks the records of a data engine as a sheet of cells and hands
// every file, row and cell boundary to virtual operations that a format writer overrides.
// One run is one call of ExportToStream; the driver's fields belong to that run. With a
// stream it runs the whole pipeline (PrepareExecute .. FinishExecute) into that stream;
// with nullptr it is the body of ExportData and writes one or more numbered files itself,
// each under a temporary name beside its own, all renamed into place when the run ends
// (completed or canceled); a device or a pipe is written in place.
// Exceptions from the engine, the formatting or the writer leave the run after the
// footer is written and the engine's controls are enabled again, and reach the caller of
// ExportToStream; a stream run first undoes its preparation (AbandonExecute). A failed
// run removes its temporary files and leaves the files of the names as they were.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "export/DorvexBaseComponent.h"
#include "rtl/FileStream.h"
#include "rtl/MemoryStream.h"
#include "rtl/PendingFile.h"

namespace mlt {

class TDorvexToCellFile : public TDorvexBaseComponent {
public:
    using TDorvexBaseComponent::TDorvexBaseComponent;
    std::string ClassName() const override { return "TDorvexToCellFile"; }

    void ExportData() override;
    // Any stream that takes writes in order; it need not seek (standard output will do).
    void ExportToStream(TStream* stream);

    // The files that the last run wrote, in order; none after a failed run.
    std::vector<std::string> CreatedFiles;

    // Sheet layout operations; the driver's own bodies do nothing (or count rows).
    virtual bool CanMergeData() { return false; }
    virtual bool CanWriteTitle() { return true; }
    virtual void CreateFileStream(const std::string& fileName);
    virtual void WriteHeader();
    virtual void WriteFooter();
    virtual void WriteString(std::string_view text);
    virtual void WriteFileBegin() { RowsSinceFlush = 0; }
    virtual void WriteFileEnd() {}
    virtual void WriteDimension(int rowCount, int colCount) {}
    virtual void WriteColumnWidth(int col, int width) {}
    virtual void WriteDataBegin() { InData = true; }
    virtual void WriteDataEnd() { InData = false; }
    virtual void WriteRowStart(bool isHeaderRow) {}
    virtual void WriteRowEnd(bool isHeaderRow);
    virtual void WriteData(TField* field, TCellType cellType, int row, int col, const std::string& text,
                           TAlignment alignment, TFont* font, TColor color) {}
    virtual void StartFile(const std::string& fileName, int fileNumber);
    virtual void FinishFile();

    // The name of output file `fileNumber`: the base name for 0, else the number padded
    // to three digits before the extension (report.pdf, report001.pdf, report123.pdf).
    static std::string NumberedFileName(const std::string& fileName, int fileNumber);

    int RecordTotal = 0;
    int RowsSinceFlush = 0;
    TAlignment CellAlignment = taLeftJustify;
    std::string CellText;
    TCellType CellType = ctBlank;
    TField* CellField = nullptr;
    std::unique_ptr<TFont> CellFont;
    TColor CellColor = clWhite;
    bool ToFile = false;
    int CurrentRow = 0;
    int TitleRows = 0;
    bool InData = false;
    TStream* OutputStream = nullptr;

private:
    void WriteRecordCell(TDvxColumn& column, int visibleIndex, int recordIndex);
    void WriteCaptions();
    void ConvertCellText();

    void CommitFiles();

    // The open file: one written in place (a merge, a device) or the last pending one.
    TFileStream* file_ = nullptr;
    std::unique_ptr<TFileStream> ownedFile_;
    std::vector<std::unique_ptr<TPendingFile>> pendingFiles_;
};

}  // namespace mlt
