#include "rtl/PropertyAccess.h"

namespace mlt {

namespace {

template <typename Read, typename T>
T ReadProp(const TPersistent& object, std::string_view name, TPropKind kind, T fallback, Read read) {
    TPropList list;
    object.GetPublishedProperties(list);
    const TPropInfo* info = FindPropInfo(list, name);
    if (info == nullptr || info->Kind != kind) return fallback;
    return read(*info);
}

}  // namespace

bool PublishesProperty(const TPersistent& object, std::string_view name, TPropKind kind) {
    return ReadProp(object, name, kind, false, [](const TPropInfo&) { return true; });
}

TPersistent* GetObjectProp(const TPersistent& object, std::string_view name) {
    return ReadProp(object, name, TPropKind::Object, static_cast<TPersistent*>(nullptr),
                    [&](const TPropInfo& info) { return info.GetObject(object); });
}

std::string GetStrProp(const TPersistent& object, std::string_view name) {
    return ReadProp(object, name, TPropKind::String, std::string(),
                    [&](const TPropInfo& info) { return info.GetString(object); });
}

std::int64_t GetOrdProp(const TPersistent& object, std::string_view name) {
    return ReadProp(object, name, TPropKind::Integer, std::int64_t{0},
                    [&](const TPropInfo& info) { return info.GetOrdinal(object); });
}

}  // namespace mlt
