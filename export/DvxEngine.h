// Columns and the data-engine base.
#pragma once

#include "export/DvxColumn.h"
#include "export/DvxDataEngine.h"
