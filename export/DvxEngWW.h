// The engines for grids reached by property names.
#pragma once

#include "export/DvxWWGridDataEngines.h"
