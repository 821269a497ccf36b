#pragma once
// The framework's array of 32-bit values.
#include "platform/core/CArray.h"
#include "platform/core/WinTypes.h"

class CDWordArray : public CArray<DWORD>
{
};
