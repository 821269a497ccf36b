#pragma once
// Records the texts of message boxes instead of showing them, for as long as it lives.
#include "platform/windows/AfxMessageBox.h"

#include <vector>

class MessageCapture
{
public:
    explicit MessageCapture(int answer = IDOK);
    ~MessageCapture();
    MessageCapture(const MessageCapture&) = delete;
    MessageCapture& operator=(const MessageCapture&) = delete;

    const std::vector<CString>& Texts() const { return m_texts; }
    const std::vector<UINT>& Types() const { return m_types; }

private:
    std::vector<CString> m_texts;
    std::vector<UINT> m_types;
    MessageBoxHook m_previous;
};
