#include "platform/framework/ShellRegistration.h"

#include "platform/files/InstallFolders.h"
#include "platform/framework/CDocTemplate.h"
#include "platform/registry/WinReg.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <algorithm>

namespace
{
// Sets the default value of key (or its value valueName) under HKEY_CLASSES_ROOT.
bool SetClassesValue(const CString& key, const CString& value, const char* valueName = nullptr)
{
    HKEY opened = nullptr;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, key, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, &opened, nullptr) != ERROR_SUCCESS)
        return false;
    const LONG result = RegSetValueExA(opened, valueName ? valueName : "", 0, REG_SZ,
                                       reinterpret_cast<const BYTE*>((const char*)value),
                                       DWORD(value.GetLength() + 1));
    RegCloseKey(opened);
    return result == ERROR_SUCCESS;
}

CString ClassesValue(const CString& key)
{
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key, 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return CString();
    char buffer[MAX_PATH * 2] = {};
    DWORD size = sizeof buffer - 1;
    DWORD type = 0;
    const LONG result =
        RegQueryValueExA(opened, "", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(opened);
    return result == ERROR_SUCCESS && type == REG_SZ ? CString(buffer) : CString();
}

// A command line's program: quoted when it holds a space.
CString Quoted(const CString& programPath)
{
    return programPath.Find(' ') >= 0 ? "\"" + programPath + "\"" : programPath;
}

// A desktop entry's argument: quoted, with the characters the entry format reserves escaped.
QString DesktopArgument(const QString& text)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString escaped = text;
    escaped.replace(QStringLiteral("%"), QStringLiteral("%%"));
    if (std::none_of(text.begin(), text.end(), [](QChar c) { return reserved.contains(c); }))
        return escaped;
    for (const char* c : {"\\", "\"", "`", "$"})
        escaped.replace(QString::fromLatin1(c), QStringLiteral("\\") + QString::fromLatin1(c));
    escaped.replace(QStringLiteral("\\"), QStringLiteral("\\\\"));
    return '"' + escaped + '"';
}

bool WriteIfDifferent(const QString& path, const QByteArray& content)
{
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == content)
        return false;
    existing.close();
    QDir().mkpath(QFileInfo(path).path());
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size() &&
           file.commit();
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The installed entry runs the program found on PATH; a user's own copy names this binary.
QByteArray WithProgram(const QByteArray& entry, const QString& program)
{
    QList<QByteArray> lines = entry.split('\n');
    for (QByteArray& line : lines) {
        if (!line.startsWith("Exec="))
            continue;
        const qsizetype arguments = line.indexOf(' ');
        line = "Exec=" + DesktopArgument(program).toUtf8() +
               (arguments < 0 ? QByteArray() : line.mid(arguments));
    }
    return lines.join('\n');
}

// An installation's own entry, when it is where the desktop looks for entries.
bool InstalledEntryServes(const QString& entryName)
{
    const QString installed =
        QFileInfo(InstallFolders::Data() + "/applications/" + entryName).canonicalFilePath();
    if (installed.isEmpty())
        return false;
    const QStringList found =
        QStandardPaths::locateAll(QStandardPaths::ApplicationsLocation, entryName);
    return std::any_of(found.begin(), found.end(), [&](const QString& path) {
        return QFileInfo(path).canonicalFilePath() == installed;
    });
}

void RunIfPresent(const QString& tool, const QString& folder)
{
    const QString found = QStandardPaths::findExecutable(tool);
    if (!found.isEmpty())
        QProcess::startDetached(found, {folder});
}
} // namespace

QString ShellRegistration::DataHome()
{
    const QByteArray xdg = qgetenv("XDG_DATA_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(QString::fromLocal8Bit(xdg)))
        return QString::fromLocal8Bit(xdg);
    return QDir::homePath() + QStringLiteral("/.local/share");
}

BOOL ShellRegistration::RegisterFileType(const CDocTemplate& docTemplate,
                                         const CString& programPath, BOOL compat)
{
    CString typeId, typeName, windowTitle, ext;
    if (!docTemplate.GetDocString(typeId, CDocTemplate::regFileTypeId) || typeId.IsEmpty())
        return TRUE;
    if (!docTemplate.GetDocString(typeName, CDocTemplate::regFileTypeName) || typeName.IsEmpty())
        typeName = typeId;
    const CString program = Quoted(programPath);
    CString open = program, print = program, printTo = program;
    const bool singleDocument =
        docTemplate.GetDocString(windowTitle, CDocTemplate::windowTitle) && !windowTitle.IsEmpty();
    if (singleDocument || !compat) {
        open += " \"%1\"";
        print += " /p \"%1\"";
        printTo += " /pt \"%1\" \"%2\" \"%3\" \"%4\"";
    } else {
        open += " /dde";
        print += " /dde";
        printTo += " /dde";
    }
    bool written = SetClassesValue(typeId, typeName);
    if (compat)
        written = written && SetClassesValue(typeId + "\\DefaultIcon", program + ",0");
    written = written && SetClassesValue(typeId + "\\shell\\open\\command", open);
    if (compat) {
        written = written && SetClassesValue(typeId + "\\shell\\print\\command", print) &&
                  SetClassesValue(typeId + "\\shell\\printto\\command", printTo);
    }
    if (!written)
        return FALSE;
    if (!docTemplate.GetDocString(ext, CDocTemplate::filterExt) || ext.IsEmpty())
        return TRUE;
    // An extension that another program's type has taken is left to it.
    const CString owner = ClassesValue(ext);
    if (!owner.IsEmpty() && owner != typeId)
        return TRUE;
    if (!SetClassesValue(ext, typeId))
        return FALSE;
    return !compat || SetClassesValue(ext + "\\ShellNew", "", "NullFile");
}

QStringList ShellRegistration::RegisterDesktopType(const DesktopType& type)
{
    const QString entryName = type.name + ".desktop";
    const QByteArray entry = ReadAll(":/linux/" + entryName);
    if (entry.isEmpty() || InstalledEntryServes(entryName))
        return {};
    const QString home = DataHome();
    const QString mimeFile = home + "/mime/packages/" + type.name + ".xml";
    const QString desktopFile = home + "/applications/" + entryName;
    const QString iconFile = home + "/icons/hicolor/scalable/apps/" + type.name + ".svg";
    const QByteArray mime = ReadAll(":/linux/" + type.name + ".xml");
    const QByteArray icon = ReadAll(type.iconSource);

    QStringList written;
    if (!mime.isEmpty() && WriteIfDifferent(mimeFile, mime)) {
        written << mimeFile;
        RunIfPresent(QStringLiteral("update-mime-database"), home + "/mime");
    }
    if (WriteIfDifferent(desktopFile, WithProgram(entry, type.program))) {
        written << desktopFile;
        RunIfPresent(QStringLiteral("update-desktop-database"), home + "/applications");
    }
    if (!icon.isEmpty() && WriteIfDifferent(iconFile, icon))
        written << iconFile;
    return written;
}
