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

// True when the object's class publishes a property of that name and kind.
bool PublishesProperty(const TPersistent& object, std::string_view name, TPropKind kind);

// The value of an object property; nullptr when absent, unassigned or of another kind.
TPersistent* GetObjectProp(const TPersistent& object, std::string_view name);
// The text of a string property; empty when absent.
std::string GetStrProp(const TPersistent& object, std::string_view name);
// The value of an integer (ordinal, colour) property; 0 when absent.
std::int64_t GetOrdProp(const TPersistent& object, std::string_view name);

}  // namespace mlt
