#include "system/autorun.h"

#include "core/product.h"
#include "storage/filestore.h"
#include "system/programfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

namespace {

#ifdef Q_OS_WIN
const wchar_t runKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const REGSAM keyRights = KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_ENUMERATE_SUB_KEYS
    | KEY_NOTIFY | KEY_CREATE_LINK;
// The Run key as the user knows it from the registry editor.
const QString runPlace
    = QStringLiteral("HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run");

StoreResult resultOf(LONG result)
{
    using Status = StoreResult::Status;
    switch (result) {
    case ERROR_SUCCESS:
        return StoreResult::done();
    case ERROR_ACCESS_DENIED:
        return StoreResult(Status::WriteError, runPlace, QStringLiteral("Zugriff verweigert"));
    default:
        return StoreResult(Status::WriteError, runPlace, QStringLiteral("Fehler %1").arg(result));
    }
}
#else
bool validName(const QString &name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && name != QLatin1String(".")
        && name != QLatin1String("..") && !name.contains(QChar(0));
}

QString entryPath(const QString &name)
{
    return QDir(AutoRun::autostartFolder()).filePath(name + QStringLiteral(".desktop"));
}
#endif

} // namespace

QString AutoRun::thisProgram()
{
    const QFileInfo program(QCoreApplication::applicationFilePath());
#ifdef Q_OS_WIN
    const QString executable = program.completeBaseName() + QStringLiteral(".exe");
#else
    const QString executable = program.fileName();
#endif
    return QDir::toNativeSeparators(ProgramFolder::path()) + QDir::separator() + executable;
}

QString AutoRun::entryNameFor(const QString &path)
{
    const QString fileName = path.mid(path.lastIndexOf(QDir::separator()) + 1);
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? fileName : fileName.left(dot);
}

QString AutoRun::runValue(const QString &path)
{
    // A Windows path holds no double quote, so nothing inside needs escaping.
    return QLatin1Char('"') + path + QLatin1Char('"');
}

QString AutoRun::autostartFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("autostart"));
}

QString AutoRun::execValue(const QString &path)
{
    // Inside double quotes the characters " ` $ and \ are escaped with a backslash.
    QString quoted;
    for (const QChar c : path) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    quoted = QLatin1Char('"') + quoted + QLatin1Char('"');
    // A literal percent sign is doubled, so it is never read as a field code.
    quoted.replace(QLatin1Char('%'), QLatin1String("%%"));
    // Finally the escapes of every string value in a desktop entry.
    QString value;
    for (const QChar c : std::as_const(quoted)) {
        switch (c.unicode()) {
        case '\\':
            value += QLatin1String("\\\\");
            break;
        case '\n':
            value += QLatin1String("\\n");
            break;
        case '\t':
            value += QLatin1String("\\t");
            break;
        case '\r':
            value += QLatin1String("\\r");
            break;
        default:
            value += c;
        }
    }
    return value;
}

StoreResult AutoRun::setAutoRun(const QString &name, const QString &path)
{
#ifdef Q_OS_WIN
    HKEY key = nullptr;
    LONG result = RegOpenKeyExW(HKEY_CURRENT_USER, runKey, 0, keyRights, &key);
    if (result == ERROR_SUCCESS) {
        const QString data = runValue(path);
        result = RegSetValueExW(key, reinterpret_cast<LPCWSTR>(name.utf16()), 0, REG_SZ,
                                reinterpret_cast<const BYTE *>(data.utf16()),
                                DWORD((data.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    }
    return resultOf(result);
#else
    using Status = StoreResult::Status;
    if (!validName(name))
        return {Status::WriteError, autostartFolder(), QStringLiteral("ungültiger Name")};
    const QString entry = QStringLiteral("[Desktop Entry]\n"
                                         "Type=Application\n"
                                         "Name=%1\n"
                                         "Comment=Mehrwertsteuer-Rechner\n"
                                         "Exec=%2\n"
                                         "Terminal=false\n")
                              .arg(Product::name(), execValue(path));
    return FileStore::replace(entryPath(name), entry.toUtf8());
#endif
}

StoreResult AutoRun::removeAutoRun(const QString &name)
{
#ifdef Q_OS_WIN
    HKEY key = nullptr;
    LONG result = RegOpenKeyExW(HKEY_CURRENT_USER, runKey, 0, keyRights, &key);
    if (result == ERROR_SUCCESS) {
        result = RegDeleteValueW(key, reinterpret_cast<LPCWSTR>(name.utf16()));
        RegCloseKey(key);
    }
    // No Run key or no such value: there was nothing to remove.
    if (result == ERROR_FILE_NOT_FOUND)
        return StoreResult(StoreResult::Status::NotFound, runPlace);
    return resultOf(result);
#else
    if (!validName(name))
        return {StoreResult::Status::NotFound, autostartFolder()};
    return FileStore::remove(entryPath(name));
#endif
}
