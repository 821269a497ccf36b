#pragma once
// The framework's list of texts.
#include "platform/core/CList.h"
#include "platform/core/CString.h"

class CStringList : public CList<CString>
{
public:
    explicit CStringList(int blockSize = 10) : CList<CString>(blockSize) {}
};
