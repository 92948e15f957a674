// The export base components with their settings records, value formatting, message
// texts and after-export actions.
#pragma once

#include "export/CellType.h"
#include "export/DorvexBaseComponent.h"
#include "export/DorvexStyle.h"
#include "export/DvxCustomBaseComponent.h"
#include "export/DvxDataFormats.h"
#include "export/DvxMessages.h"
#include "export/DvxSendTo.h"
