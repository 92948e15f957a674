#include "rtl/PublishedProperties.h"

#include "rtl/TextUtils.h"

namespace mlt {

const TPropInfo* FindPropInfo(const TPropList& list, std::string_view name) {
    for (const auto& info : list)
        if (SameText(info.Name, name)) return &info;
    return nullptr;
}

}  // namespace mlt
