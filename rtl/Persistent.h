// TPersistent: the root of everything that can be copied with Assign and that publishes
// properties by name. Assign asks the source to AssignTo the destination; when neither
// side knows the other, the copy fails with EAssignError ("Cannot assign a X to a Y.").
#pragma once

#include <string>

#include "rtl/PublishedProperties.h"

namespace mlt {

class TPersistent {
public:
    virtual ~TPersistent() = default;

    virtual void Assign(const TPersistent& source);
    virtual std::string ClassName() const { return "TPersistent"; }

    // Appends this class's published properties, base classes first.
    virtual void GetPublishedProperties(TPropList& list) const { (void)list; }

protected:
    TPersistent() = default;
    TPersistent(const TPersistent&) = default;
    TPersistent& operator=(const TPersistent&) = default;

    virtual void AssignTo(TPersistent& dest) const;
};

}  // namespace mlt
