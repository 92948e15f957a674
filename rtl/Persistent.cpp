#include "rtl/Persistent.h"

#include "rtl/Exception.h"

namespace mlt {

void TPersistent::Assign(const TPersistent& source) { source.AssignTo(*this); }

void TPersistent::AssignTo(TPersistent& dest) const {
    throw EAssignError("Cannot assign a " + ClassName() + " to a " + dest.ClassName() + ".");
}

}  // namespace mlt
