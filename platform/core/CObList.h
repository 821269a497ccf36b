#pragma once
// The framework's list of object pointers. It never owns what it points at.
#include "platform/core/CList.h"
#include "platform/core/CObject.h"

class CObList : public CList<CObject*>
{
public:
    explicit CObList(int blockSize = 10) : CList<CObject*>(blockSize) {}
};
