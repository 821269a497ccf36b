#pragma once
// Root of the framework's object hierarchy: a virtual destructor and serialization.
class CArchive;

class CObject
{
public:
    CObject() = default;
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
    virtual ~CObject() = default;

    virtual void Serialize(CArchive&) {}
};
