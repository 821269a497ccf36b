#pragma once
// The framework's array of 32-bit values.
#include "platform/CArray.h"
#include "platform/WinTypes.h"

class CDWordArray : public CArray<DWORD>
{
};
