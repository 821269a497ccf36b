#pragma once
// The program's icons by resource identifier (SVG artwork compiled into the program).
#include "platform/core/WinTypes.h"

#include <QIcon>

// Icon id, or a null icon when there is none.
QIcon LoadResourceIcon(UINT id);
