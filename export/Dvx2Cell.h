// The cell-file export driver.
#pragma once

#include "export/DorvexToCellFile.h"
