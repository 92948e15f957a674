// TCustomControl: the base of visual controls such as grids. The export framework never
// draws one; it only reads a grid's published properties.
#pragma once

#include "rtl/Component.h"

namespace mlt {

class TCustomControl : public TComponent {
public:
    using TComponent::TComponent;
    std::string ClassName() const override { return "TCustomControl"; }
};

}  // namespace mlt
