#pragma once

#include "settings/storeresult.h"

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
        // The old rate as it was read, empty when it held none; what the user
        // is shown is exactly what was taken over.
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

    // Reads the old rate once, copies it when it is a readable number (an empty
    // or unreadable rate never replaces one: without a rate the calculator
    // falls back to its default anyway) and then deletes the old store. A
    // failed step ends the takeover; what was done before stays done.
    Outcome takeOver() const;

private:
    int m_year;
};
