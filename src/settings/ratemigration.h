#pragma once

#include "storage/storeresult.h"

#include <QLocale>
#include <QString>

#include <optional>

// Takes the rate that the 2008 or 2009 version stored over into this
// version's settings and deletes the old version's store, so that its
// leftovers do not stay on the user's system.
class RateMigration
{
public:
    enum class Failure {
        None,
        RateNotSaved,      // this version's store could not be written; the old store is kept
        OldStoreNotDeleted // the rate was taken over, the old store is still there
    };

    struct Outcome
    {
        // The old rate as it was taken over, empty when it held none; the
        // user is shown exactly this.
        QString oldRate;
        // False when the old store was gone by the time it was read (another
        // start of the program took it over): then nothing was changed.
        bool oldStoreFound = false;
        Failure failure = Failure::None;
        // The store that failed, with why.
        StoreResult store;
        // The run-time error number and description the old versions reported
        // for such a failure; 0 and empty without one.
        int errorNumber = 0;
        QString description;
    };

    // The old version whose store exists. The older one comes first: taking
    // it over deletes its store, and the next start finds the younger one.
    static std::optional<int> storedOldVersion();

    explicit RateMigration(int year)
        : m_year(year)
    {
    }
    int year() const { return m_year; }

    // Reads the old rate once, copies it and then deletes the old store. A
    // number written the German or the English way is copied as the locale
    // writes it, any other text as it was stored: it is the user's. Only an
    // empty rate never replaces one (without a rate the calculator falls back
    // to its default anyway). A failed step ends the takeover; what was done
    // before stays done, and the old store is never deleted before its rate
    // is written.
    Outcome takeOver(const QLocale &locale) const;

private:
    int m_year;
};
