// The PDF writer.
#pragma once

#include "pdf/DorvexToPDF.h"
