// TOdbcRecordSource: the rows of one query through ODBC (unixODBC, or odbc32 on Windows).
// Open connects with a connection string (a DSN is "DSN=name"), adds the password as PWD
// when one is given apart and the string names none, prepares and executes the query;
// the source owns the environment, the connection and the statement until destroyed.
//
// Columns take their ADO terms from what the driver reports (see OdbcColumnType.h);
// columns named in GraphicColumns (case-insensitive) hold pictures. Rows arrive in blocks
// of up to BlockRows, bound row-wise; long columns are read with SQLGetData, in blocks
// where the driver can position in a block (SQL_GD_BLOCK), else one row at a time. Text
// is asked for in wide characters and turned into the system code page here, or kept
// wide for the wide SQL types. First() executes the query again unless the walk stands
// on the first row. RecordCount is the driver's SQLRowCount when that is above 0, else
// -1 (many drivers cannot tell before the last row). No bookmarks. While the query is
// prepared, executed and its first rows fetched (in Open, and when First executes it again),
// a set `Cancel` flag cancels the statement (see OdbcCancelWatch.h) and EDatabaseError
// follows; the flag is not watched once rows flow, since the export then reads it between
// records.
//
// Every failure raises EDatabaseError with one line that says what failed and the
// driver's own words, without the driver manager's bracketed prefixes. No message ever
// holds the password: a password text the driver repeats is replaced by "***".
#pragma once

#include <atomic>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "data/FieldType.h"
#include "data/OdbcColumnType.h"
#include "data/RecordSource.h"

namespace mlt {

struct TOdbcSourceOptions {
    std::string ConnectionString;
    std::string Password;  // empty: none apart from the connection string
    std::string Sql;
    std::vector<std::string> GraphicColumns;
    const std::atomic<bool>* Cancel = nullptr;
};

class TOdbcRecordSource : public TRecordSource {
public:
    static constexpr std::size_t BlockRows = 256;

    static std::unique_ptr<TOdbcRecordSource> Open(const TOdbcSourceOptions& options);
    ~TOdbcRecordSource() override;
    TOdbcRecordSource(const TOdbcRecordSource&) = delete;
    TOdbcRecordSource& operator=(const TOdbcRecordSource&) = delete;

    std::vector<TColumnDescriptor> Columns() override;
    void First() override;
    void Next() override;
    bool Eof() override { return eof_; }
    int RecordCount() override { return recordCount_; }
    void ReadRow(std::vector<Variant>& values) override;

private:
    struct THandles;
    struct TBinding {
        TOdbcColumnType Type;
        TFieldType Kind = ftUnknown;  // of the column's field
        bool Bound = false;
        std::size_t Offset = 0;  // of the value in a row; its indicator stands before it
        std::size_t Bytes = 0;   // of the value buffer
    };

    TOdbcRecordSource();
    void Connect(const TOdbcSourceOptions& options);
    void Execute();
    void DescribeColumns(const TOdbcSourceOptions& options);
    void Bind();
    void FetchBlock();
    void ReadValue(std::size_t column, Variant& value);
    void ReadBound(const TBinding& binding, const char* data, std::ptrdiff_t length, Variant& value);
    void ReadLong(std::size_t column, Variant& value);
    void Position();
    [[noreturn]] void Fail(const std::string& what, int handleType) const;

    std::unique_ptr<THandles> handles_;
    std::string sql_;
    const std::atomic<bool>* cancel_ = nullptr;
    std::vector<std::string> secrets_;  // texts that never reach a message
    unsigned getDataExtensions_ = 0;
    std::vector<TBinding> bindings_;
    std::size_t rowBytes_ = 0;
    std::size_t blockRows_ = BlockRows;
    std::vector<std::max_align_t> block_;
    std::size_t current_ = 0;  // row of the block
    bool atFirst_ = false;
    bool positioned_ = false;
    bool eof_ = true;
    int recordCount_ = -1;
    std::string ascii_;  // the last ASCII text, whose memory the next one reuses
};

}  // namespace mlt
