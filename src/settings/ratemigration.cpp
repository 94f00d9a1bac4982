#include "settings/ratemigration.h"

#include "core/numberformat.h"
#include "core/product.h"
#include "settings/ratesetting.h"
#include "settings/settingsstore.h"

#include <array>

namespace {

// The run-time error numbers the old versions used for these failures.
const int errorPathAccess = 75;
const int errorInvalidCall = 5;

const std::array<int, 2> oldYears = {2008, 2009};

} // namespace

std::optional<int> RateMigration::storedOldVersion()
{
    for (int year : oldYears) {
        if (SettingsStore::hasApplication(RateSetting::oldApplication(year)))
            return year;
    }
    return std::nullopt;
}

RateMigration::Outcome RateMigration::takeOver(const QLocale &locale) const
{
    const QString oldApplication = RateSetting::oldApplication(m_year);
    Outcome outcome;
    outcome.oldStoreFound = SettingsStore::hasApplication(oldApplication);
    const QString stored
        = SettingsStore::get(oldApplication, RateSetting::section(), RateSetting::key(), QString());
    if (!outcome.oldStoreFound)
        return outcome;

    if (!stored.trimmed().isEmpty()) {
        outcome.oldRate = NumberFormat::localForm(stored, locale).value_or(stored);
        outcome.store = RateSetting::save(outcome.oldRate);
        if (!outcome.store) {
            outcome.failure = Failure::RateNotSaved;
            outcome.errorNumber = errorPathAccess;
            outcome.description
                = QStringLiteral("Die Einstellungen von %1 konnten nicht gespeichert werden (%2).")
                      .arg(Product::name(), SettingsStore::location(RateSetting::application()));
            return outcome;
        }
    }
    outcome.store = SettingsStore::deleteApplication(oldApplication);
    if (!outcome.store) {
        outcome.failure = Failure::OldStoreNotDeleted;
        outcome.errorNumber = errorInvalidCall;
        outcome.description
            = QStringLiteral("Die Einstellungen von Zelk. %1 konnten nicht gelöscht werden (%2).")
                  .arg(QString::number(m_year), SettingsStore::location(oldApplication));
    }
    return outcome;
}
