// TADODataSet: a TDataSet over any TRecordSource that describes its columns in ADO terms.
// It owns the table from ADO data types to field kinds with their declared and data
// sizes, hides row-id columns and types it cannot show, and names fields: a column
// without a name is "COLUMN<n>" (its 1-based position), a name already taken gets "_1",
// "_2", ... until it is free. SetRecordset closes the dataset, then opens it over the
// given source; a source is never closed by the dataset, only released.
#pragma once

#include <memory>
#include <optional>

#include "data/DataSet.h"
#include "data/RecordSource.h"

namespace mlt {

enum TCommandType { cmdUnknown, cmdText, cmdTable, cmdStoredProc, cmdFile, cmdTableDirect };
enum TLockType { ltUnspecified, ltReadOnly, ltPessimistic, ltOptimistic, ltBatchOptimistic };

struct TAdoFieldDef {
    TFieldType Kind;
    int Size;
    int DataSize;
};

// The field kind and sizes of an ADO column; no value when the column gets no field.
std::optional<TAdoFieldDef> AdoFieldDef(const TColumnDescriptor& column);

class TADODataSet : public TDataSet {
public:
    explicit TADODataSet(TComponent* owner = nullptr) : TDataSet(owner) {}
    std::string ClassName() const override { return "TADODataSet"; }

    // Closes, then opens over the source (none leaves the dataset closed).
    void SetRecordset(std::unique_ptr<TRecordSource> source);
    TRecordSource* Recordset() const { return source_.get(); }

    TCommandType CommandType = cmdText;
    TLockType LockType = ltOptimistic;
    std::string CommandText;

protected:
    void InternalOpen() override;
    void InternalClose() override;
    void InternalFirst() override { source_->First(); }
    void InternalNext() override { source_->Next(); }
    bool InternalEof() override { return source_->Eof(); }
    int InternalRecordCount() override { return source_->RecordCount(); }
    void InternalReadRow(std::vector<Variant>& values) override;
    bool InternalBookmarksSupported() override { return source_->SupportsBookmarks(); }
    TBookmark InternalGetBookmark() override { return source_->Bookmark(); }
    void InternalGotoBookmark(const TBookmark& bookmark) override { source_->GotoBookmark(bookmark); }

private:
    std::unique_ptr<TRecordSource> source_;
    std::vector<int> columnOfField_;
    std::vector<Variant> sourceRow_;
};

}  // namespace mlt
