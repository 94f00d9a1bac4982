#include "settings/settingsstore.h"

#include "storage/filestore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <functional>
#include <memory>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

namespace {

using Status = StoreResult::Status;

#ifdef Q_OS_WIN
const QString legacyOrganization = QStringLiteral("VB and VBA Program Settings");
#endif

std::unique_ptr<QSettings> open(const QString &application)
{
#ifdef Q_OS_WIN
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, legacyOrganization,
                                       application);
#else
    return std::make_unique<QSettings>(SettingsStore::location(application), QSettings::IniFormat);
#endif
}

// For reading only. Qt's registry settings create the key they open, even to
// read it, and every start looks for the old versions' keys: where the key is
// missing there is nothing to read, and nothing is opened.
std::unique_ptr<QSettings> openStored(const QString &application)
{
#ifdef Q_OS_WIN
    const QString path = QStringLiteral("Software\\%1\\%2").arg(legacyOrganization, application);
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, reinterpret_cast<LPCWSTR>(path.utf16()), 0, KEY_READ, &key)
        != ERROR_SUCCESS)
        return nullptr;
    RegCloseKey(key);
#endif
    return open(application);
}

#ifdef Q_OS_WIN
StoreResult change(const QString &application, const std::function<void(QSettings &)> &edit,
                   const std::function<bool(QSettings &)> &)
{
    const auto settings = open(application);
    edit(*settings);
    settings->sync();
    if (settings->status() != QSettings::NoError)
        return StoreResult(Status::WriteError, SettingsStore::location(application));
    return StoreResult::done();
}
#else
// QSettings keeps every INI file it has seen in a per-process cache, and a
// change it could not write stays there and is shown as if it were stored.
// So the real file is only ever read through QSettings. A change is made on
// a private copy with a name of its own; the result replaces the file only
// after a fresh read of it shows the change. QSettings writes through
// QSaveFile, which in Qt 6.4 may report success for a write lost on a full
// disk and leave an empty file: an empty result for settings that still hold
// keys is such a loss. (A damaged file need not give the same keys when read
// again, so the keys themselves are not compared.)
StoreResult change(const QString &application, const std::function<void(QSettings &)> &edit,
                   const std::function<bool(QSettings &)> &verify)
{
    const QString path = SettingsStore::location(application);
    StoreResult ready = FileStore::prepareReplace(path);
    if (!ready)
        return ready;
    QByteArray current;
    StoreResult read = FileStore::read(path, &current, -1);
    if (read.failed())
        return read;

    QTemporaryFile copy(QFileInfo(path).absolutePath() + QStringLiteral("/.") + QFileInfo(path).fileName()
                        + QStringLiteral(".XXXXXX"));
    if (!copy.open())
        return FileStore::diagnose(path, copy.errorString(), current.size());
    if (copy.write(current) != current.size() || !copy.flush())
        return FileStore::diagnose(path, copy.errorString(), current.size());
    copy.close();
    bool keysLeft = false;
    {
        QSettings settings(copy.fileName(), QSettings::IniFormat);
        edit(settings);
        keysLeft = !settings.allKeys().isEmpty();
        settings.sync();
        // A damaged old file reads as a format error; the copy is written all the same.
        if (settings.status() == QSettings::AccessError)
            return FileStore::diagnose(path, QStringLiteral("QSettings"), current.size() + 256);
    }
    QByteArray changed;
    const StoreResult reread = FileStore::read(copy.fileName(), &changed, -1);
    if (!reread || (keysLeft && changed.isEmpty()))
        return FileStore::diagnose(path, QStringLiteral("QSettings"), current.size() + 256);
    return FileStore::replace(path, changed, [&](const QString &written) {
        QSettings check(written, QSettings::IniFormat);
        return !verify || verify(check);
    });
}
#endif

} // namespace

QString SettingsStore::location(const QString &application)
{
#ifdef Q_OS_WIN
    return QStringLiteral("HKEY_CURRENT_USER\\Software\\%1\\%2").arg(legacyOrganization, application);
#else
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir(base).filePath(QStringLiteral("zelk/%1.ini").arg(application));
#endif
}

QString SettingsStore::get(const QString &application, const QString &section, const QString &key,
                           const QString &defaultValue)
{
    const auto settings = openStored(application);
    if (!settings)
        return defaultValue;
    const QVariant value = settings->value(section + QLatin1Char('/') + key);
    if (!value.isValid())
        return defaultValue;
    // A hand-edited INI line with an unquoted comma comes back as a list.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

StoreResult SettingsStore::save(const QString &application, const QString &section, const QString &key,
                                const QString &value)
{
    const QString path = section + QLatin1Char('/') + key;
    return change(
        application, [&](QSettings &settings) { settings.setValue(path, value); },
        [&](QSettings &written) { return written.value(path).toString() == value; });
}

StoreResult SettingsStore::deleteSection(const QString &application, const QString &section)
{
#ifndef Q_OS_WIN
    // A file that cannot be read may hold the section: say so instead of "nothing there".
    QByteArray unused;
    StoreResult read = FileStore::read(location(application), &unused);
    if (read.failed())
        return read;
#endif
    const auto stored = openStored(application);
    if (!stored || !stored->childGroups().contains(section))
        return {Status::NotFound, location(application)};
    return change(
        application, [&](QSettings &settings) { settings.remove(section); },
        [&](QSettings &written) { return !written.childGroups().contains(section); });
}

StoreResult SettingsStore::deleteApplication(const QString &application)
{
#ifdef Q_OS_WIN
    if (!hasApplication(application))
        return StoreResult(Status::NotFound, location(application));
    return change(application, [](QSettings &settings) { settings.clear(); }, {});
#else
    const QString path = location(application);
    QByteArray unused;
    StoreResult read = FileStore::read(path, &unused);
    if (read.failed())
        return read;
    if (!hasApplication(application))
        return {Status::NotFound, path};
    // The old versions' stores are to be gone for good: no empty file stays.
    return FileStore::remove(path);
#endif
}

bool SettingsStore::hasApplication(const QString &application)
{
    const auto stored = openStored(application);
    return stored && !stored->allKeys().isEmpty();
}
