#pragma once

#include "settings/ratemigration.h"

#include <QWidget>

#include <array>

class CommandButton;
class QLabel;

// Walks the user through taking the 2008 or 2009 version's rate over; the
// takeover itself is RateMigration's. One class serves both years; they
// differ only in the year of the texts.
class MigrationWizard : public QWidget
{
    Q_OBJECT

public:
    // Made, it is on its first page with "&Weiter" waiting for the keyboard.
    explicit MigrationWizard(int year, QWidget *parent = nullptr);

signals:
    // Emitted after "&Fertig" has closed the wizard.
    void finished();
    // "&Abbrechen": the program ends without opening the main window.
    void quitRequested();

private:
    // The buttons in the order of their object names' indexes.
    enum Button { Next, TakeOver, Cancel, Finish, ButtonCount };

    void takeOver();
    void showDonePage();
    void finish();
    void showPage(Button visibleButton);

    RateMigration m_migration;
    QLabel *m_page;
    std::array<CommandButton *, ButtonCount> m_buttons{};
};
