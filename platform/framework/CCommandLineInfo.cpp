#include "platform/framework/CCommandLineInfo.h"

#include "platform/files/HostPath.h"

#include <QDir>
#include <QFileInfo>

void CCommandLineInfo::ParseParam(const char* param, BOOL flag, BOOL)
{
    if (flag)
        ParseParamFlag(param);
    else
        ParseParamNotFlag(param);
}

void CCommandLineInfo::ParseParamFlag(const char* param)
{
    if (_stricmp(param, "pt") == 0) {
        m_nShellCommand = FilePrintTo;
        m_printToNamesWanted = 3;
    } else if (_stricmp(param, "p") == 0) {
        m_nShellCommand = FilePrint;
    } else if (_stricmp(param, "dde") == 0) {
        m_nShellCommand = FileDDE;
    }
}

void CCommandLineInfo::ParseParamNotFlag(const char* param)
{
    if (m_strFileName.IsEmpty()) {
        const QString host =
            QDir::cleanPath(QFileInfo(QString::fromUtf8(param)).absoluteFilePath());
        if (!FromHostPath(host.toStdString(), m_strFileName)) {
            m_strFileName = host.toStdString();
            m_bUnusableName = TRUE;
        }
        if (m_nShellCommand == FileNew)
            m_nShellCommand = FileOpen;
        return;
    }
    if (m_nShellCommand != FilePrintTo || m_printToNamesWanted == 0)
        return;
    CString* names[] = {&m_strPortName, &m_strDriverName, &m_strPrinterName};
    *names[--m_printToNamesWanted] = param;
}
