// TDataSet: a cursor over records with a list of fields. Open builds the fields and goes
// to the first record; First, Next and Eof walk; FieldByName finds a field ignoring case
// (hashed) and fails for a missing name, FindField returns nullptr. Bookmarks remember a
// position as text. DisableControls/EnableControls nest. Every operation but Open, Close
// and Active raises "Cannot perform this operation on a closed dataset" while closed.
// Descendants supply the records through the Internal* operations.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "data/Field.h"
#include "rtl/Component.h"
#include "rtl/TextUtils.h"
#include "rtl/Variant.h"

namespace mlt {

using TBookmark = std::string;

class TDataSet : public TComponent {
public:
    explicit TDataSet(TComponent* owner = nullptr) : TComponent(owner) {}
    ~TDataSet() override;
    std::string ClassName() const override { return "TDataSet"; }

    void Open();
    void Close();
    bool Active() const { return active_; }
    // Grows at every Open and Close, so holders of TField pointers can tell that theirs
    // are stale.
    int Generation() const { return generation_; }

    void First();
    void Next();
    bool Eof() const;
    bool Bof() const;
    int RecordCount();

    int FieldCount() const { return static_cast<int>(fields_.size()); }
    TField& Fields(int index) const { return *fields_.at(static_cast<std::size_t>(index)); }
    TField* FindField(std::string_view name) const;
    TField& FieldByName(std::string_view name) const;

    TBookmark GetBookmark();
    void GotoBookmark(const TBookmark& bookmark);
    void FreeBookmark(TBookmark& bookmark) { bookmark.clear(); }
    bool BookmarksSupported();

    void DisableControls() { ++disableCount_; }
    void EnableControls() {
        if (disableCount_ > 0) --disableCount_;
    }
    bool ControlsDisabled() const { return disableCount_ > 0; }

    // The current record's value of field `index`, read from the source on first use.
    const Variant& FieldValue(int index);

protected:
    // Makes the fields with AddField, and positions on the first record.
    virtual void InternalOpen() = 0;
    virtual void InternalClose() {}
    virtual void InternalFirst() = 0;
    virtual void InternalNext() = 0;
    virtual bool InternalEof() = 0;
    virtual int InternalRecordCount() = 0;
    virtual void InternalReadRow(std::vector<Variant>& values) = 0;
    virtual bool InternalBookmarksSupported() { return false; }
    virtual TBookmark InternalGetBookmark() { return {}; }
    virtual void InternalGotoBookmark(const TBookmark& bookmark) { (void)bookmark; }

    TField& AddField(std::string name, TFieldType type, int size, int dataSize);
    void CheckActive() const;

private:
    void Moved(bool atFirst);

    bool active_ = false;
    int generation_ = 0;
    bool bof_ = false;
    bool eof_ = true;
    bool rowLoaded_ = false;
    int disableCount_ = 0;
    std::vector<std::unique_ptr<TField>> fields_;
    std::unordered_map<std::string, TField*, TextHash, TextEqual> byName_;
    std::vector<Variant> row_;
};

}  // namespace mlt
