#include "show/Clip.h"

#include "platform/files/CArchive.h"

Clip::Clip(const CString& directory, const CString& fileName)
    : m_directory(directory), m_fileName(fileName)
{
}

CString Clip::GetFullPath() const
{
    return m_directory + "\\" + m_fileName;
}

void Clip::Serialize(CArchive& archive)
{
    if (archive.IsStoring()) {
        archive << m_directory << m_fileName << m_start << m_end;
    } else {
        // A file that ends inside a mark is damaged: the typed read fails the whole load
        // instead of keeping a clip whose marks were silently lost.
        archive >> m_directory >> m_fileName >> m_start >> m_end;
    }
}
