#pragma once

#include "core/vatcalculator.h"
#include "ui/controls/textbox.h"

#include <QObject>

class MessageDialog;
class QColor;

// The four boxes of a calculator window and all they do: net amount, rate,
// VAT amount and gross amount; the keys typed into them, the two directions
// of the calculation, copying, clearing, the rate's entry list and the stored
// rate. The window places the boxes and adds its own buttons. Every value is
// read from the boxes' texts when it is needed.
class CalculatorPanel : public QObject, private EntryListSource
{
    Q_OBJECT

public:
    // The boxes are made as children of window; messages go through messages.
    CalculatorPanel(QWidget *window, MessageDialog *messages);

    TextBox *netBox() const { return m_netBox; }
    TextBox *rateBox() const { return m_rateBox; }
    TextBox *vatBox() const { return m_vatBox; }
    TextBox *grossBox() const { return m_grossBox; }

    // The background each box takes while it has the focus.
    void setFocusColors(const QColor &amounts, const QColor &rate);

    // Net, gross and VAT amount emptied, in that order; the rate stays.
    void clearAmounts();
    // The rate box's entry list, kept in file (by default the one beside the program).
    void bindEntryList();
    void bindEntryList(const QString &file);
    // The stored rate, or the default rate when none or an empty one is stored.
    void loadRate();
    // The rate box's text as the stored rate, and deleting the stored rate.
    // A failure is told with the stop icon; the box keeps its text, and the
    // next load shows what is really stored.
    void saveRate();
    void deleteRate();

    void copyNet() const;
    void copyVat() const;
    void copyGross() const;
    // All three amounts with the rate, one per line.
    void copyAll() const;

private:
    QStringList entries() const override;
    bool canAdd(const QString &value, const QStringList &entries) const override;
    void add(const QString &value) override;
    void remove(const QString &value) override;

    void refuseInput();
    void computeFromNet();
    void computeFromGross();
    void reportFailure(VatCalculator::Failure failure, TextBox *typedBox);
    void reportStoreFailure(const QString &title, const QString &message);

    TextBox *m_netBox;
    TextBox *m_rateBox;
    TextBox *m_vatBox;
    TextBox *m_grossBox;
    MessageDialog *m_messages;
    QString m_entryListFile;
};
