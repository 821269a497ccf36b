#pragma once
// Base of the framework's exceptions. Each can describe itself in words for the user.
#include "platform/core/CString.h"

class CException
{
public:
    virtual ~CException() = default;
    virtual CString GetErrorMessage() const = 0;
};
