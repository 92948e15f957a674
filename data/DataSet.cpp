#include "data/DataSet.h"

#include "rtl/Exception.h"

namespace mlt {

TDataSet::~TDataSet() = default;

void TDataSet::CheckActive() const {
    if (!active_) throw EDatabaseError("Cannot perform this operation on a closed dataset");
}

void TDataSet::Open() {
    if (active_) return;
    fields_.clear();
    byName_.clear();
    try {
        InternalOpen();
        active_ = true;
        ++generation_;
        Moved(true);
    } catch (...) {
        fields_.clear();
        byName_.clear();
        active_ = false;
        throw;
    }
}

void TDataSet::Close() {
    if (!active_) return;
    InternalClose();
    active_ = false;
    ++generation_;
    fields_.clear();
    byName_.clear();
    row_.clear();
    rowLoaded_ = false;
    eof_ = true;
    bof_ = false;
}

void TDataSet::Moved(bool atFirst) {
    eof_ = InternalEof();
    bof_ = atFirst;
    rowLoaded_ = false;
}

void TDataSet::First() {
    CheckActive();
    InternalFirst();
    Moved(true);
}

void TDataSet::Next() {
    CheckActive();
    if (eof_) return;
    InternalNext();
    Moved(false);
}

bool TDataSet::Eof() const {
    CheckActive();
    return eof_;
}

bool TDataSet::Bof() const {
    CheckActive();
    return bof_;
}

int TDataSet::RecordCount() {
    CheckActive();
    return InternalRecordCount();
}

TField* TDataSet::FindField(std::string_view name) const {
    auto found = byName_.find(name);
    return found == byName_.end() ? nullptr : found->second;
}

TField& TDataSet::FieldByName(std::string_view name) const {
    CheckActive();
    TField* field = FindField(name);
    if (field == nullptr) {
        std::string prefix = Name.empty() ? "" : Name + ": ";
        throw EDatabaseError(prefix + "Field '" + std::string(name) + "' not found");
    }
    return *field;
}

bool TDataSet::BookmarksSupported() {
    CheckActive();
    return InternalBookmarksSupported();
}

TBookmark TDataSet::GetBookmark() {
    CheckActive();
    return InternalGetBookmark();
}

void TDataSet::GotoBookmark(const TBookmark& bookmark) {
    CheckActive();
    InternalGotoBookmark(bookmark);
    Moved(false);
}

const Variant& TDataSet::FieldValue(int index) {
    static const Variant kNull = Variant::Null();
    if (eof_ && bof_) return kNull;  // an empty dataset has no current record
    if (!rowLoaded_) {
        row_.resize(fields_.size());
        if (!eof_) InternalReadRow(row_);
        else for (auto& value : row_) value = Variant::Null();
        rowLoaded_ = true;
    }
    return row_.at(static_cast<std::size_t>(index));
}

TField& TDataSet::AddField(std::string name, TFieldType type, int size, int dataSize) {
    auto field = std::make_unique<TField>(*this, static_cast<int>(fields_.size()), std::move(name), type, size, dataSize);
    TField& result = *field;
    byName_.emplace(result.FieldName, &result);
    fields_.push_back(std::move(field));
    return result;
}

}  // namespace mlt
