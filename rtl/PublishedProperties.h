// Published properties looked up by name at run time, so that code can read controls it
// was not compiled against (the grid engines do this). A class lists its properties in
// GetPublishedProperties; lookups are case-insensitive, as the framework's RTTI is.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace mlt {

class TPersistent;

enum class TPropKind { Object, String, Integer };

struct TPropInfo {
    std::string Name;
    TPropKind Kind = TPropKind::Integer;
    std::function<TPersistent*(const TPersistent&)> GetObject;
    std::function<std::string(const TPersistent&)> GetString;
    std::function<std::int64_t(const TPersistent&)> GetOrdinal;
};

using TPropList = std::vector<TPropInfo>;

// The property of that name, or nullptr when the class publishes none.
const TPropInfo* FindPropInfo(const TPropList& list, std::string_view name);

}  // namespace mlt
