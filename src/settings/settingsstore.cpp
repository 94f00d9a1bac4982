#include "settings/settingsstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <memory>

namespace {

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

bool written(QSettings &settings)
{
    settings.sync();
    return settings.status() == QSettings::NoError;
}

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
    const auto settings = open(application);
    const QVariant value = settings->value(section + QLatin1Char('/') + key);
    if (!value.isValid())
        return defaultValue;
    // A hand-edited INI line with an unquoted comma comes back as a list.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

bool SettingsStore::save(const QString &application, const QString &section, const QString &key,
                         const QString &value)
{
#ifndef Q_OS_WIN
    // QSettings does not create the folder when it cannot; report that as a failure.
    if (!QDir().mkpath(QFileInfo(location(application)).absolutePath()))
        return false;
#endif
    const auto settings = open(application);
    settings->setValue(section + QLatin1Char('/') + key, value);
    return written(*settings);
}

bool SettingsStore::deleteSection(const QString &application, const QString &section)
{
    const auto settings = open(application);
    if (!settings->childGroups().contains(section))
        return false;
    settings->remove(section);
    return written(*settings);
}

bool SettingsStore::deleteApplication(const QString &application)
{
    if (!hasApplication(application))
        return false;
    {
        const auto settings = open(application);
        settings->clear();
        if (!written(*settings))
            return false;
    }
#ifndef Q_OS_WIN
    // Leave no empty file behind: the old versions' stores are to be gone for good.
    QFile::remove(location(application));
#endif
    return true;
}

bool SettingsStore::hasApplication(const QString &application)
{
    return !open(application)->allKeys().isEmpty();
}
