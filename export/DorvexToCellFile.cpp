#include "export/DorvexToCellFile.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "export/DvxMessages.h"
#include "rtl/Exception.h"
#include "rtl/TextUtils.h"

namespace mlt {

std::string TDorvexToCellFile::NumberedFileName(const std::string& fileName, int fileNumber) {
    if (fileNumber <= 0) return fileName;
    std::string number = IntToStr(fileNumber);
    if (number.size() < 3) number.insert(0, 3 - number.size(), '0');
    std::size_t delimiter = fileName.find_last_of("/\\:");
    std::size_t dot = fileName.find_last_of('.');
    if (dot == std::string::npos || (delimiter != std::string::npos && dot < delimiter)) return fileName + number;
    return fileName.substr(0, dot) + number + fileName.substr(dot);
}

void TDorvexToCellFile::ExportData() {
    ToFile = true;
    try {
        ExportToStream(nullptr);
    } catch (...) {
        ToFile = false;
        throw;
    }
    ToFile = false;
}

// Renames the run's files into place, in order. A file that cannot take its name stays
// under its temporary one; the files after it are removed.
void TDorvexToCellFile::CommitFiles() {
    try {
        for (auto& file : pendingFiles_) file->Commit();
    } catch (...) {
        pendingFiles_.clear();
        CreatedFiles.clear();
        throw;
    }
    pendingFiles_.clear();
}

void TDorvexToCellFile::ExportToStream(TStream* stream) {
    if (stream != nullptr) {
        try {
            PrepareExecute();
        } catch (...) {
            AbandonExecute();
            throw;
        }
    }
    const int headerLines = Header.Count();
    const int footerLines = Footer.Count();
    int fileNumber = 0;
    OutputStream = stream;
    CreatedFiles.clear();
    if (CurrentEngine == nullptr) throw Exception("The export has no data engine: run it through Execute");
    CellFont = std::make_unique<TFont>();
    TDvxCustomDataEngine& engine = *CurrentEngine;
    bool controlsDisabled = false;
    try {
        engine.DisableControls();
        controlsDisabled = true;
        engine.BeforeExecute();
        engine.First();
        RecordTotal = engine.GetRecordCount();
        TitleRows = (!AddTitle || !CanWriteTitle()) ? 0 : ((Options & soBlankRowAfterCaptions) != 0 ? 2 : 1);
        TotalRowCount = headerLines + TitleRows + RecordTotal + footerLines;

        int recordIndex = 0;
        StartFile(FileName, 0);
        while (!ProgressCanceled() && WithinRecordLimit(recordIndex) && !engine.Eof()) {
            if (AnimatedStatus) UpdateProgress(LanguageString(msgExporting), recordIndex);
            if (OnProgress) {
                bool abort = false;
                OnProgress(*this, recordIndex, engine.GetRecordCount(), abort);
                if (abort) SetProgressCanceled(true);
            }
            if (RowsPerFile > 0 && recordIndex > 0 && recordIndex % RowsPerFile == 0) {
                ++fileNumber;
                if (stream == nullptr) StartFile(FileName, fileNumber);
            }
            ++recordIndex;
            if (Layout != elTabularForm) WriteRowStart(false);
            int visibleIndex = 0;
            for (int i = 0; i < Columns.Count(); ++i) {
                TDvxColumn& column = Columns.Items(i);
                if (column.Visible) WriteRecordCell(column, visibleIndex++, recordIndex);
            }
            if (Layout != elTabularForm) WriteRowEnd(false);
            engine.Next();
            ++CurrentRow;
        }
        engine.AfterExecute();
        controlsDisabled = false;
        engine.EnableControls();
    } catch (...) {
        // The open output still gets its footer and the controls come back; the failure
        // then reaches the caller, after a stream run has undone its preparation.
        try {
            FinishFile();
        } catch (...) {
        }
        file_ = nullptr;
        ownedFile_.reset();
        pendingFiles_.clear();
        CreatedFiles.clear();
        CellFont.reset();
        if (controlsDisabled) engine.EnableControls();
        if (stream != nullptr) AbandonExecute();
        throw;
    }
    FinishFile();
    CellFont.reset();
    CommitFiles();
    if (stream != nullptr) FinishExecute();
}

void TDorvexToCellFile::ConvertCellText() {
    if (CharacterSet == csASCII_MSDOS) CellText = ConvertToOem(CellText);
}

void TDorvexToCellFile::WriteRecordCell(TDvxColumn& column, int visibleIndex, int recordIndex) {
    TDvxCustomDataEngine& engine = *CurrentEngine;
    CellColor = column.Color;
    CellFont->Assign(column.Font);
    CellAlignment = column.Alignment;
    CellField = engine.GetField(column);
    if (CellField != nullptr) {
        GetFieldText(CellField, CellText);
        CellType = GetColumnCellType(CellField, BlankIfZero);
    } else {
        Variant value;
        engine.GetValue(column, value);
        CellText = value.AsString(FormatSettings());
        CellType = GetValueCellType(engine.GetFieldType(column), Variant::String(CellText), BlankIfZero);
    }
    GetRowColor(Header.Count() + TitleRows + recordIndex, CellColor);
    if (OnGetCellParams) OnGetCellParams(*this, CellField, CellText, *CellFont, CellAlignment, CellColor, CellType);
    ConvertCellText();
    switch (Layout) {
        case elReversedColumnar:
            WriteData(CellField, CellType, visibleIndex, CurrentRow, CellText, CellAlignment, CellFont.get(), CellColor);
            break;
        case elTabularForm: {
            WriteRowStart(false);
            const int row = VisibleColumnCount * CurrentRow + visibleIndex;
            WriteData(nullptr, ctString, row, 0, column.Title.Caption, column.Title.Alignment, &column.Title.Font,
                      column.Title.Color);
            WriteData(CellField, CellType, row, 1, CellText, CellAlignment, CellFont.get(), CellColor);
            WriteRowEnd(false);
            break;
        }
        default:
            WriteData(CellField, CellType, CurrentRow, visibleIndex, CellText, CellAlignment, CellFont.get(), CellColor);
            break;
    }
}

void TDorvexToCellFile::StartFile(const std::string& fileName, int fileNumber) {
    if (fileNumber > 0) FinishFile();
    if (!fileName.empty()) {
        std::string name = NumberedFileName(fileName, fileNumber);
        if (OnGetFileName) OnGetFileName(*this, fileNumber, name);
        CreateFileStream(name);
        if (ToFile) CreatedFiles.push_back(name);
    }
    if (OutputStream == nullptr) throw EInOutError("No output file: the file name is empty");
    WriteFileBegin();
    // With split output every file but the last holds RowsPerFile records; a caller's
    // stream holds them all in one document.
    int records = RecordTotal;
    if (RowsPerFile > 0 && ToFile) {
        int before = fileNumber * RowsPerFile;
        records = std::max(0, std::min(RowsPerFile, RecordTotal - before));
    }
    const int rows = TitleRows + records;
    // The largest width among the visible columns, negative ones included; 0 for none.
    std::optional<int> largest;
    for (int i = 0; i < Columns.Count(); ++i)
        if (Columns.Items(i).Visible) largest = std::max(largest.value_or(Columns.Items(i).Width), Columns.Items(i).Width);
    const int widest = largest.value_or(0);
    switch (Layout) {
        case elReversedColumnar:
            WriteDimension(VisibleColumnCount, rows + 1);
            for (int i = 0; i <= rows; ++i) WriteColumnWidth(i, widest);
            break;
        case elTabularForm:
            WriteDimension(rows * VisibleColumnCount, 3);
            WriteColumnWidth(0, widest);
            WriteColumnWidth(1, widest);
            break;
        default: {
            WriteDimension(rows, VisibleColumnCount + 1);
            int k = 0;
            for (int i = 0; i < Columns.Count(); ++i)
                if (Columns.Items(i).Visible) WriteColumnWidth(k++, Columns.Items(i).Width);
            break;
        }
    }
    WriteHeader();
    WriteDataBegin();
    if (AddTitle && CanWriteTitle() && Layout != elTabularForm) WriteCaptions();
}

void TDorvexToCellFile::WriteCaptions() {
    const int headerLines = Header.Count();
    WriteRowStart(true);
    int k = 0;
    for (int i = 0; i < Columns.Count(); ++i) {
        TDvxColumn& column = Columns.Items(i);
        if (!column.Visible) continue;
        CellColor = column.Title.Color;
        CellFont->Assign(column.Title.Font);
        CellAlignment = column.Title.Alignment;
        CellText = column.Title.Caption;
        GetRowColor(headerLines + 1, CellColor);
        CellType = ctString;
        if (OnGetCellParams) OnGetCellParams(*this, nullptr, CellText, *CellFont, CellAlignment, CellColor, CellType);
        ConvertCellText();
        if (Layout == elReversedColumnar)
            WriteData(nullptr, CellType, k, headerLines, CellText, CellAlignment, CellFont.get(), CellColor);
        else
            WriteData(nullptr, CellType, headerLines, k, CellText, CellAlignment, CellFont.get(), CellColor);
        ++k;
    }
    WriteRowEnd(true);
    if ((Options & soBlankRowAfterCaptions) == 0) return;
    WriteRowStart(true);
    GetRowColor(headerLines + 2, CellColor);
    for (int k2 = 0; k2 < VisibleColumnCount; ++k2) {
        if (Layout == elReversedColumnar)
            WriteData(nullptr, ctBlank, k2, CurrentRow - 1, std::string(), taCenter, nullptr, CellColor);
        else
            WriteData(nullptr, ctBlank, CurrentRow - 1, k2, std::string(), taCenter, nullptr, CellColor);
    }
    WriteRowEnd(true);
}

void TDorvexToCellFile::WriteHeader() {
    const int headerLines = Header.Count();
    CurrentRow = headerLines + (!AddTitle ? 0 : ((Options & soBlankRowAfterCaptions) != 0 ? 2 : 1));
    for (int i = 0; i < headerLines; ++i) {
        WriteRowStart(true);
        CellColor = clWhite;
        CellAlignment = taLeftJustify;
        CellText = Header[i];
        GetRowColor(i, CellColor);
        CellType = ctString;
        if (OnGetCellParams) OnGetCellParams(*this, nullptr, CellText, *CellFont, CellAlignment, CellColor, CellType);
        ConvertCellText();
        WriteData(nullptr, CellType, i, 1, CellText, CellAlignment, CellFont.get(), CellColor);
        WriteRowEnd(true);
    }
}

void TDorvexToCellFile::WriteFooter() {
    WriteDataEnd();
    for (int i = 0; i < Footer.Count(); ++i) {
        WriteRowStart(true);
        CellColor = clWhite;
        CellAlignment = taLeftJustify;
        CellText = Footer[i];
        CellType = ctString;
        if (OnGetCellParams) OnGetCellParams(*this, nullptr, CellText, *CellFont, CellAlignment, CellColor, CellType);
        ConvertCellText();
        WriteData(nullptr, CellType, CurrentRow + i, 1, CellText, CellAlignment, CellFont.get(), CellColor);
        WriteRowEnd(true);
    }
    WriteFileEnd();
}

void TDorvexToCellFile::FinishFile() {
    if (OutputStream == nullptr) return;
    WriteFooter();
    if (ToFile) {
        OutputStream = nullptr;
        file_ = nullptr;
        if (ownedFile_) std::exchange(ownedFile_, nullptr)->Close();
        else pendingFiles_.back()->Close();
    }
}

void TDorvexToCellFile::CreateFileStream(const std::string& fileName) {
    if (!ToFile) return;
    const bool merge = (Options & soMergeData) != 0 && FileExists(fileName) && CanMergeData();
    if (merge || IsDeviceFile(fileName)) {
        ownedFile_ = std::make_unique<TFileStream>(fileName, merge ? TFileMode::OpenWrite : TFileMode::Create);
        file_ = ownedFile_.get();
    } else {
        pendingFiles_.push_back(std::make_unique<TPendingFile>(fileName));
        file_ = &pendingFiles_.back()->Stream();
    }
    OutputStream = file_;
}

void TDorvexToCellFile::WriteString(std::string_view text) {
    if (OutputStream != nullptr) OutputStream->Write(text.data(), text.size());
}

void TDorvexToCellFile::WriteRowEnd(bool isHeaderRow) {
    ++RowsSinceFlush;
    if (file_ != nullptr && OutputStream == file_ && RowsSinceFlush > 1024) {
        file_->FlushToDisk();
        RowsSinceFlush = 0;
    }
}

}  // namespace mlt
