#include "tests/support/MessageCapture.h"

MessageCapture::MessageCapture(int answer)
{
    m_previous = SetMessageBoxHook([this, answer](const CString& text, UINT type) {
        m_texts.push_back(text);
        m_types.push_back(type);
        return answer;
    });
}

MessageCapture::~MessageCapture()
{
    SetMessageBoxHook(std::move(m_previous));
}
