#pragma once

#include <QString>
#include <utility>

// The outcome of changing something the user keeps: a setting, the entry
// list, the autostart entry. A failure names the place and why, so that the
// window can tell the user exactly what was not stored.
class StoreResult
{
public:
    enum class Status {
        Done,
        NotFound,       // nothing was there to remove; nothing changed
        FolderReadOnly, // the folder exists but cannot be written
        FileReadOnly,   // the file is write-protected
        FileUnreadable, // the file cannot be read, so it is left as it is
        FolderIsFile,   // a file stands where the folder belongs
        DiskFull,       // no room left on the file system
        WriteError,     // any other error; detail carries the system's text
    };

    StoreResult() = default;
    StoreResult(Status status, QString place = QString(), QString detail = QString())
        : m_status(status)
        , m_place(std::move(place))
        , m_detail(std::move(detail))
    {
    }

    static StoreResult done() { return {Status::Done}; }

    Status status() const { return m_status; }
    QString place() const { return m_place; }
    bool ok() const { return m_status == Status::Done; }
    // True when something was to be changed and could not be; NotFound is no failure.
    bool failed() const { return m_status != Status::Done && m_status != Status::NotFound; }
    explicit operator bool() const { return ok(); }

    // One German sentence that says why, naming the place; empty unless failed().
    QString reason() const;

private:
    Status m_status = Status::Done;
    QString m_place;
    QString m_detail;
};
