#pragma once

#include <QWidget>

class CommandButton;
class QLabel;

// Takes the rate that the 2008 or 2009 version stored over into this version's
// settings and deletes all settings of the old version. One class serves both
// years; they differ only in the year of the texts and the settings they read.
class MigrationWizard : public QWidget
{
    Q_OBJECT

public:
    explicit MigrationWizard(int year, QWidget *parent = nullptr);

    void load();

signals:
    // Emitted after "&Fertig" has unloaded the wizard.
    void finished();
    // "&Abbrechen": the program ends without opening the main window.
    void quitRequested();

private:
    void onCommand1Clicked(int index);
    void showPage(int visibleButton);
    void reportError(int number, const QString &description);

    int m_year;
    QString m_oldApplication;
    QLabel *m_label3;
    CommandButton *m_command1[4];
};
