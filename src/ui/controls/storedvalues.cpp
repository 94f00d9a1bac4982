#include "ui/controls/storedvalues.h"

#include "ui/controls/commands.h"
#include "ui/controls/icons.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QToolButton>

#include <functional>
#include <utility>

StoredValuesList::StoredValuesList(QLineEdit *box, QString caption, StoredValuesSource *source)
    : QObject(box)
    , m_box(box)
    , m_caption(std::move(caption))
    , m_source(source)
{
    setObjectName(QStringLiteral("storedValues"));
    const QString name = QStringLiteral("Gespeicherte Werte");
    QAction *button = box->addAction(Icons::named(QStringLiteral("list")), QLineEdit::TrailingPosition);
    button->setObjectName(QStringLiteral("storedValuesButton"));
    button->setToolTip(name);
    const auto sideButtons = box->findChildren<QToolButton *>(QString(), Qt::FindDirectChildrenOnly);
    for (QToolButton *side : sideButtons) {
        if (side->defaultAction() == button)
            side->setAccessibleName(name);
    }
    Commands::bind(button, box, [this] { open(); });
}

void StoredValuesList::open()
{
    const QStringList entries = m_source->entries();
    const QString current = m_box->text().trimmed();

    QMenu menu(m_box);
    menu.setObjectName(QStringLiteral("storedValuesMenu"));
    menu.addSection(m_caption);
    // The change is made, and a failure told, only after the menu has closed.
    std::function<void()> change;
    for (const QString &entry : entries) {
        menu.addAction(entry, &menu, [this, &change, entry] {
            change = [this, entry] {
                m_box->setFocus();
                m_box->selectAll();
                m_box->insert(entry);
            };
        });
    }
    menu.addSeparator();
    QAction *add = menu.addAction(QStringLiteral("Aktuellen Wert &hinzufügen"));
    add->setObjectName(QStringLiteral("addEntry"));
    add->setEnabled(m_source->canAdd(current, entries));
    connect(add, &QAction::triggered, &menu,
            [this, &change, current] { change = [this, current] { m_source->add(current); }; });
    QMenu *remove = menu.addMenu(QStringLiteral("Eintrag &entfernen"));
    remove->setObjectName(QStringLiteral("removeEntry"));
    remove->setEnabled(!entries.isEmpty());
    for (const QString &entry : entries) {
        remove->addAction(entry, &menu,
                          [this, &change, entry] { change = [this, entry] { m_source->remove(entry); }; });
    }
    QPointer<StoredValuesList> guard(this);
    menu.exec(m_box->mapToGlobal(QPoint(m_box->width() - menu.sizeHint().width(), m_box->height())));
    if (guard && change)
        change();
}
