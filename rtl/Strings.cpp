#include "rtl/Strings.h"

namespace mlt {

void TStrings::Assign(const TPersistent& source) {
    if (auto* strings = dynamic_cast<const TStrings*>(&source)) {
        Lines = strings->Lines;
        return;
    }
    TPersistent::Assign(source);
}

}  // namespace mlt
