// The dataset and grid engines.
#pragma once

#include "export/DvxDBDataEngine.h"
#include "export/DvxDBGridDataEngine.h"
#include "export/GridKind.h"
