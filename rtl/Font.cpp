#include "rtl/Font.h"

namespace mlt {

void TFont::Assign(const TPersistent& source) {
    if (auto* font = dynamic_cast<const TFont*>(&source)) return Assign(*font);
    TPersistent::Assign(source);
}

void TFont::GetPublishedProperties(TPropList& list) const {
    list.push_back({"Color", TPropKind::Integer, nullptr, nullptr,
                    [](const TPersistent& o) { return std::int64_t{static_cast<const TFont&>(o).Color}; }});
    list.push_back({"Name", TPropKind::String, nullptr,
                    [](const TPersistent& o) { return static_cast<const TFont&>(o).Name; }, nullptr});
    list.push_back({"Size", TPropKind::Integer, nullptr, nullptr,
                    [](const TPersistent& o) { return std::int64_t{static_cast<const TFont&>(o).Size}; }});
}

}  // namespace mlt
