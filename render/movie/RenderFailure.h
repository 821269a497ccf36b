#pragma once
// Why a render stopped, in words for the user; thrown inside the render and caught at the
// entry of the thread that runs it.
#include <QString>
#include <stdexcept>

class RenderFailure : public std::runtime_error
{
public:
    explicit RenderFailure(const QString& text)
        : std::runtime_error(text.toStdString()), m_text(text)
    {
    }
    QString Text() const { return m_text; }

    // Throws with "what: FFmpeg's reason" when code is one of FFmpeg's errors.
    static void Check(int code, const QString& what);
    static QString AvErrorText(int code);

private:
    QString m_text;
};
