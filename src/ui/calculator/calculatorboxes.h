#pragma once

#include "core/vatcalculator.h"
#include "ui/controls/storedvalues.h"

#include <QObject>
#include <QSet>

class MessageDialog;
class QColor;
class TextBox;

// The four boxes of a calculator window and all they do: net amount, rate,
// VAT amount and gross amount; what may be typed into them, the two
// directions of the calculation, copying, clearing, the rate's list of
// stored values and the stored rate. The window places the boxes and adds
// its own buttons. Every value is read from the boxes' texts when it is
// needed; an amount computed from values the user has changed since is
// emptied, so that no box ever shows a result of other amounts.
class CalculatorBoxes : public QObject, private StoredValuesSource
{
    Q_OBJECT

public:
    // The boxes are made as children of window; messages go through messages.
    CalculatorBoxes(QWidget *window, MessageDialog *messages);

    TextBox *netBox() const { return m_netBox; }
    TextBox *rateBox() const { return m_rateBox; }
    TextBox *vatBox() const { return m_vatBox; }
    TextBox *grossBox() const { return m_grossBox; }

    // The background each box takes while it has the focus.
    void setFocusColors(const QColor &amounts, const QColor &rate);

    // Net, gross and VAT amount emptied, in that order; the rate stays.
    void clearAmounts();
    // The rate box's list of stored values, kept in file (the one beside the program).
    void useStoredValues(const QString &file);
    // The stored rate, or the default rate when none or an empty one is
    // stored. A number is shown as this locale writes it, whichever locale
    // stored it ("16,5" and "16.5" are the same rate: a rate is never grouped).
    void showStoredRate();
    // The rate box's text as the stored rate, and deleting the stored rate.
    // A failure is told with the stop icon; the box keeps its text, and the
    // next window shows what is really stored.
    void saveRate();
    void deleteRate();

    void copyNet() const;
    void copyVat() const;
    void copyGross() const;
    // All three amounts with the rate, one per line, as the boxes show them.
    void copyAll() const;

    // The most characters the user may put into an amount box, and into the rate box.
    static constexpr int amountChars = 15;
    static constexpr int rateChars = 5;

private:
    QStringList entries() const override;
    bool canAdd(const QString &value, const QStringList &entries) const override;
    void add(const QString &value) override;
    void remove(const QString &value) override;

    void compute(TextBox *typedBox);
    void forgetResultsBeside(TextBox *edited);
    void refuseInput();
    void reportFailure(VatCalculator::Failure failure, TextBox *typedBox);
    void reportStoreFailure(const QString &title, const QString &message);

    TextBox *m_netBox;
    TextBox *m_rateBox;
    TextBox *m_vatBox;
    TextBox *m_grossBox;
    MessageDialog *m_messages;
    QString m_storedValuesFile;
    // The boxes that hold results of the last calculation.
    QSet<TextBox *> m_results;
};
