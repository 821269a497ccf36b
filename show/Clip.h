#pragma once
// One clip of a show: a movie file and an optional section of it between two marks, in
// seconds from the movie's start; a negative mark is not set.
#include "controls/MyListCtrlLparam.h"

class Clip : public MyListCtrlLparam
{
public:
    // Marks unset, for a clip that is about to read itself from an archive.
    Clip() = default;
    Clip(const CString& directory, const CString& fileName);
    ~Clip() override = default;

    // The directory, one backslash, the file name.
    CString GetFullPath() const;
    void Serialize(CArchive& archive) override;

    CString m_directory;
    CString m_fileName;
    double m_start = -1.0;
    double m_end = -1.0;
};
