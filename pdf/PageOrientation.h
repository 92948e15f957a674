// How the modern report turns its pages: Auto turns them to landscape when the table is
// wider than a portrait page.
#pragma once

namespace mlt {

enum class TPageOrientation { Auto, Portrait, Landscape };

}  // namespace mlt
