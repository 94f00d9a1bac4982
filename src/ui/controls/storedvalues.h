#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QAction;
class QLineEdit;

// Where a box's stored values come from and where changes to them go. The
// list only shows them; whoever keeps them decides what is valid and
// reports its own failures.
class StoredValuesSource
{
public:
    virtual ~StoredValuesSource() = default;
    // What the list shows, read afresh each time it opens.
    virtual QStringList entries() const = 0;
    // Whether value may join entries (the list as it is shown).
    virtual bool canAdd(const QString &value, const QStringList &entries) const = 0;
    virtual void add(const QString &value) = 0;
    virtual void remove(const QString &value) = 0;
};

// A button inside a line edit that lists stored values under a caption.
// Choosing one puts it into the box as if it were typed; the list also
// takes the box's text, or gives up an entry. The box knows nothing of it.
class StoredValuesList : public QObject
{
    Q_OBJECT

public:
    // The list does not own the source.
    StoredValuesList(QLineEdit *box, QString caption, StoredValuesSource *source);

    // Opens the list at the box; returns when it is closed and the change
    // chosen in it is made.
    void open();

private:
    QLineEdit *m_box;
    QString m_caption;
    StoredValuesSource *m_source;
};
