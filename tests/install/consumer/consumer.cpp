// Writes a query's rows from a SQLite database as a PDF report with the installed library.
//   consumer DATABASE QUERY OUT.pdf
#include <cstdio>
#include <memory>

#include "data/ADODataSet.h"
#include "data/SqliteRecordSource.h"
#include "pdf/DorvexToPDF.h"

int main(int argc, char** argv) {
    if (argc != 4) return 2;
    mlt::TADODataSet data;
    data.SetRecordset(mlt::TSqliteRecordSource::Open(argv[1], argv[2]));
    mlt::TDorvexToPDF pdf;
    pdf.ColumnSource = mlt::csDataSet;
    pdf.SetDataSet(&data);
    pdf.FileName = argv[3];
    pdf.Execute();
    std::printf("ExportResult %d\n", static_cast<int>(pdf.ExportResult));
    return pdf.ExportResult == mlt::TExportResult::Completed ? 0 : 1;
}
