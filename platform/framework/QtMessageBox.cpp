#include "platform/framework/QtMessageBox.h"

#include "platform/framework/CWinApp.h"

#include <QApplication>
#include <QMessageBox>

namespace
{
QMessageBox::StandardButtons ButtonsOf(UINT type)
{
    switch (type & 0xF) {
    case MB_OKCANCEL:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MB_YESNO:
        return QMessageBox::Yes | QMessageBox::No;
    case MB_YESNOCANCEL:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    default:
        return QMessageBox::Ok;
    }
}

QMessageBox::Icon IconOf(UINT type)
{
    switch (type & 0xF0) {
    case MB_ICONHAND:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONASTERISK:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

int AnswerOf(int button)
{
    switch (button) {
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    case QMessageBox::Cancel:
        return IDCANCEL;
    default:
        return IDOK;
    }
}

QString Title()
{
    const CWinApp* app = AfxGetApp();
    return app ? QString::fromUtf8(app->m_pszAppName) : QApplication::applicationName();
}
} // namespace

int QtMessageBox(const CString& text, UINT type)
{
    QMessageBox box(IconOf(type), Title(), QString::fromUtf8((const char*)text), ButtonsOf(type),
                    QApplication::activeWindow());
    // A box over long work shows the ordinary arrow, not the wait cursor.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int button = box.exec();
    QApplication::restoreOverrideCursor();
    return AnswerOf(button);
}

void InstallQtMessageBox()
{
    SetMessageBoxHook(&QtMessageBox);
}
