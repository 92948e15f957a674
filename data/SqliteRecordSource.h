// TSqliteRecordSource: the rows of one SQLite query. Open opens the database read-only
// (a missing file is an error, never a new database; a WAL database without a -wal file,
// whose -shm file the reader cannot create, is read as a file that nothing changes),
// prepares the query and steps to its first row; the source owns the connection and the statement until it is destroyed.
// The query must be one statement that returns columns. Rows are stepped one at a time
// and never held; First() re-runs the query unless it stands on the first row already.
// RecordCount runs SELECT COUNT(*) over the query once, when first asked (a statement
// that cannot be a subquery, such as a PRAGMA, is stepped through instead). While the
// query is opened, prepared, stepped to its first row and counted, a set `cancel` flag
// interrupts SQLite within a few thousand instructions, and EDatabaseError follows; the
// flag is not read once rows flow, since the export then reads it between records. Bookmarks are
// row numbers; GotoBookmark steps on to the row, re-running the query when it lies behind.
//
// Columns take their ADO type from the declared type of the column they come from:
// sized text types keep their size, TEXT without a size is adVarChar(255), DECIMAL(p,s)
// is adNumeric with that precision and scale, GRAPHIC and IMAGE columns are pictures.
// A column without a declared type (an expression) or with a type name not known here
// takes its type from the first row's value: integer adBigInt, real adDouble, blob
// adLongVarBinary, text or NULL adVarChar(255).
//
// Values arrive as the Variant kind that the column's field kind expects; text is turned
// from UTF-8 into the system code page here. Date and time columns read ISO text as
// SQLite's date functions do, an integer as seconds since 1970 (UTC, unconverted) and
// a real as a julian day number; a moment outside the years 1 to 9999 is no date. A value that does not fit its column (text in an
// INTEGER column, 100000 in a SMALLINT) arrives as a String of its text, so the report
// shows it as it is stored. Every failure of SQLite raises EDatabaseError with its message.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "data/RecordSource.h"

struct sqlite3;
struct sqlite3_stmt;

namespace mlt {

class TSqliteRecordSource : public TRecordSource {
public:
    static std::unique_ptr<TSqliteRecordSource> Open(const std::string& databasePath, const std::string& sql,
                                                     const std::atomic<bool>* cancel = nullptr);
    ~TSqliteRecordSource() override;
    TSqliteRecordSource(const TSqliteRecordSource&) = delete;
    TSqliteRecordSource& operator=(const TSqliteRecordSource&) = delete;

    std::vector<TColumnDescriptor> Columns() override { return columns_; }
    void First() override;
    void Next() override;
    bool Eof() override { return eof_; }
    int RecordCount() override;
    void ReadRow(std::vector<Variant>& values) override;

    bool SupportsBookmarks() override { return true; }
    std::string Bookmark() override;
    void GotoBookmark(const std::string& bookmark) override;

private:
    enum class TValueKind { Text, Wide, SmallInt, Integer, Int64, Double, BCD, Currency, Boolean, DateTime, Time, Blob };

    explicit TSqliteRecordSource(std::string databasePath) : path_(std::move(databasePath)) {}
    void Connect(const std::string& name, int flags);
    void OpenQuery(const std::string& sql);
    void Step();
    void Restart();
    void DescribeColumns();
    void ReadValue(int column, Variant& value) const;
    Variant ReadNumber(int column, int storage, TValueKind kind) const;
    Variant ReadDate(int column, int storage, TValueKind kind) const;
    void ReadText(int column, Variant& value) const;
    Variant ValueAsText(int column) const;
    [[noreturn]] void Fail(const std::string& what) const;

    std::string path_;
    std::string sql_;
    sqlite3* db_ = nullptr;
    sqlite3_stmt* query_ = nullptr;
    // SELECT julianday(?1): SQLite's own reading of date text, prepared on first use.
    mutable sqlite3_stmt* julianDay_ = nullptr;
    std::vector<TColumnDescriptor> columns_;
    std::vector<TValueKind> kinds_;
    bool eof_ = true;
    int row_ = 0;  // 0-based number of the current row
    int recordCount_ = -1;
    const std::atomic<bool>* cancel_ = nullptr;
    bool interruptible_ = false;  // while opening and counting
};

}  // namespace mlt
