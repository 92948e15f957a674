// Reading an object's published properties by name: the answers are the defaults below
// when its class publishes no property of that name and kind.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "rtl/Persistent.h"

namespace mlt {

// True when the object's class publishes a property of that name and kind.
bool PublishesProperty(const TPersistent& object, std::string_view name, TPropKind kind);

// The value of an object property; nullptr when absent, unassigned or of another kind.
TPersistent* GetObjectProp(const TPersistent& object, std::string_view name);
// The text of a string property; empty when absent.
std::string GetStrProp(const TPersistent& object, std::string_view name);
// The value of an integer (ordinal, colour) property; 0 when absent.
std::int64_t GetOrdProp(const TPersistent& object, std::string_view name);

}  // namespace mlt
