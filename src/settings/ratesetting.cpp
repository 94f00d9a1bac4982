#include "settings/ratesetting.h"

#include "settings/settingsstore.h"

QString RateSetting::read()
{
    return SettingsStore::get(application(), section(), key(), QString());
}

StoreResult RateSetting::save(const QString &rate)
{
    return SettingsStore::save(application(), section(), key(), rate);
}

StoreResult RateSetting::remove()
{
    return SettingsStore::deleteSection(application(), section());
}
