#include "ui/calculator/calculatorboxes.h"

#include "core/amountkey.h"
#include "core/clipboardtext.h"
#include "core/numberformat.h"
#include "settings/entrylist.h"
#include "settings/ratesetting.h"
#include "ui/controls/charactervalidator.h"
#include "ui/controls/messagedialog.h"
#include "ui/controls/textbox.h"

#include <QApplication>
#include <QClipboard>
#include <QLocale>

namespace {

const QString refusedKeyText = QStringLiteral("Es können hier nur Zahlen bzw. Ziffern eingegeben werden.");
const QString refusedKeyTitle = QStringLiteral("Falsche Eingabe");
const QString invalidTitle = QStringLiteral("Ungültige Eingabe");
const QString invalidRateText
    = QStringLiteral("Der Mehrwertsteuersatz im Feld „Mehrwertsteuer“ ist keine gültige Zahl.\r\r"
                     "Bitte geben Sie den Satz in Prozent ein, zum Beispiel 19 oder 7.");
// The example amount %1 is written as the user's locale writes amounts.
const QString invalidNetText = QStringLiteral(
    "Der Nettowert ist keine gültige Zahl.\r\rBitte geben Sie einen Betrag wie 100 oder %1 ein.");
const QString invalidGrossText = QStringLiteral(
    "Der Bruttowert ist keine gültige Zahl.\r\rBitte geben Sie einen Betrag wie 119 oder %1 ein.");
const QString noResultText
    = QStringLiteral("Mit diesem Mehrwertsteuersatz und diesem Betrag lässt sich kein Ergebnis berechnen.");
const QString saveRateTitle = QStringLiteral("Prozentwert speichern");
const QString deleteRateTitle = QStringLiteral("Prozentwert löschen");
const QString rateNotSavedText = QStringLiteral("Der Mehrwertsteuersatz konnte nicht gespeichert werden: %1");
const QString rateNotDeletedText
    = QStringLiteral("Der gespeicherte Mehrwertsteuersatz konnte nicht gelöscht werden: %1");
const QString storedValuesTitle = QStringLiteral("Gespeicherte Werte");
const QString storedValuesCaption = QStringLiteral("Zelk.-Satz");
const QString entryNotAddedText
    = QStringLiteral("Der Wert „%1“ konnte nicht in die Liste aufgenommen werden: %2");
const QString entryNotRemovedText
    = QStringLiteral("Der Wert „%1“ konnte nicht aus der Liste entfernt werden: %2");
// The characters an amount or a rate is written with, for the room the boxes keep.
const QString numberCharacters = QStringLiteral("0123456789,.-/");

TextBox *makeBox(QWidget *window, const QString &name, const QString &accessibleName, const QString &text)
{
    auto *box = new TextBox(window);
    box->setObjectName(name);
    box->setAccessibleName(accessibleName);
    box->setText(text);
    return box;
}

void copyToClipboard(const QString &text)
{
    QClipboard *clipboard = QApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}

} // namespace

CalculatorBoxes::CalculatorBoxes(QWidget *window, MessageDialog *messages)
    : QObject(window)
    , m_messages(messages)
{
    const QString noAmount = QStringLiteral("0,00");
    m_netBox = makeBox(window, QStringLiteral("netBox"), QStringLiteral("Nettobetrag"), noAmount);
    m_rateBox = makeBox(window, QStringLiteral("rateBox"), QStringLiteral("Mehrwertsteuersatz"),
                        RateSetting::defaultRate());
    m_vatBox = makeBox(window, QStringLiteral("vatBox"), QStringLiteral("Mehrwertsteuerbetrag"), noAmount);
    m_grossBox = makeBox(window, QStringLiteral("grossBox"), QStringLiteral("Bruttobetrag"), noAmount);
    m_vatBox->setReadOnly(true);
    m_vatBox->setBalloonTip(QStringLiteral("Gesperrt"), QStringLiteral("Keine Eingabe möglich!"));
    // Every amount the user can type, every result and every rate the box
    // takes shows whole: digits out of sight are misread. The amount boxes
    // keep the room for the longest amount; the rate box makes room as it fills.
    for (TextBox *amount : {m_netBox, m_grossBox})
        amount->keepTextWhole(amountChars, numberCharacters);
    m_vatBox->keepTextWhole();
    m_rateBox->keepTextWhole();
    m_rateBox->setValidator(new CharacterValidator(m_rateBox, rateChars));
    connect(m_rateBox, &QLineEdit::inputRejected, this, [] { QApplication::beep(); });

    for (TextBox *box : {m_netBox, m_grossBox}) {
        box->setValidator(new CharacterValidator(box, amountChars, AmountKey::isAmountChar));
        connect(box, &QLineEdit::inputRejected, this, &CalculatorBoxes::refuseInput);
        // Enter computes from the box that holds a typed amount.
        connect(box, &TextBox::enterPressed, this, [this, box] {
            if (!box->text().isEmpty())
                compute(box);
        });
    }
    for (TextBox *box : {m_netBox, m_rateBox, m_grossBox})
        connect(box, &QLineEdit::textEdited, this, [this, box] { forgetResultsBeside(box); });
    // Ctrl+C copies an amount whole, also without a selection.
    connect(m_netBox, &TextBox::copyPressed, this, &CalculatorBoxes::copyNet);
    connect(m_vatBox, &TextBox::copyPressed, this, &CalculatorBoxes::copyVat);
    connect(m_grossBox, &TextBox::copyPressed, this, &CalculatorBoxes::copyGross);
}

void CalculatorBoxes::setFocusColors(const QColor &amounts, const QColor &rate)
{
    for (TextBox *amount : {m_netBox, m_vatBox, m_grossBox})
        amount->setFocusBackColor(amounts);
    m_rateBox->setFocusBackColor(rate);
}

void CalculatorBoxes::clearAmounts()
{
    m_netBox->setText(QString());
    m_grossBox->setText(QString());
    m_vatBox->setText(QString());
    m_results.clear();
}

void CalculatorBoxes::useStoredValues(const QString &file)
{
    if (m_storedValuesFile.isNull())
        new StoredValuesList(m_rateBox, storedValuesCaption, this);
    m_storedValuesFile = file;
}

QStringList CalculatorBoxes::entries() const
{
    return EntryList::load(m_storedValuesFile);
}

bool CalculatorBoxes::canAdd(const QString &value, const QStringList &entries) const
{
    return EntryList::canAdd(entries, value);
}

void CalculatorBoxes::add(const QString &value)
{
    const StoreResult result = EntryList::add(m_storedValuesFile, value);
    if (result.failed())
        reportStoreFailure(storedValuesTitle, entryNotAddedText.arg(value, result.reason()));
}

void CalculatorBoxes::remove(const QString &value)
{
    const StoreResult result = EntryList::remove(m_storedValuesFile, value);
    if (result.failed())
        reportStoreFailure(storedValuesTitle, entryNotRemovedText.arg(value, result.reason()));
}

void CalculatorBoxes::showStoredRate()
{
    const QString stored = RateSetting::read();
    m_rateBox->setText(stored.isEmpty() ? RateSetting::defaultRate()
                                        : NumberFormat::localForm(stored, QLocale()).value_or(stored));
}

void CalculatorBoxes::saveRate()
{
    const StoreResult result = RateSetting::save(m_rateBox->text());
    if (result.failed())
        reportStoreFailure(saveRateTitle, rateNotSavedText.arg(result.reason()));
}

void CalculatorBoxes::deleteRate()
{
    // Nothing stored is nothing to delete: no message.
    const StoreResult result = RateSetting::remove();
    if (result.failed())
        reportStoreFailure(deleteRateTitle, rateNotDeletedText.arg(result.reason()));
}

void CalculatorBoxes::reportStoreFailure(const QString &title, const QString &message)
{
    m_messages->inform(title, message, MessageDialog::Icon::Stop);
}

void CalculatorBoxes::copyNet() const
{
    copyToClipboard(m_netBox->text());
}

void CalculatorBoxes::copyVat() const
{
    copyToClipboard(m_vatBox->text());
}

void CalculatorBoxes::copyGross() const
{
    copyToClipboard(m_grossBox->text());
}

void CalculatorBoxes::copyAll() const
{
    copyToClipboard(
        ClipboardText::allAmounts(m_netBox->text(), m_vatBox->text(), m_rateBox->text(), m_grossBox->text()));
}

void CalculatorBoxes::refuseInput()
{
    QApplication::beep();
    m_messages->inform(refusedKeyTitle, refusedKeyText, MessageDialog::Icon::Warning);
}

void CalculatorBoxes::forgetResultsBeside(TextBox *edited)
{
    // An amount the user changes is theirs now; what was computed from the
    // old values would stand beside it as if it belonged to it.
    for (TextBox *result : std::as_const(m_results)) {
        if (result != edited)
            result->setText(QString());
    }
    m_results.clear();
}

void CalculatorBoxes::compute(TextBox *typedBox)
{
    const bool fromNet = typedBox == m_netBox;
    const QLocale locale;
    const VatCalculator::Result result = fromNet
        ? VatCalculator::fromNet(m_rateBox->text(), m_netBox->text(), locale)
        : VatCalculator::fromGross(m_rateBox->text(), m_grossBox->text(), locale);
    if (!result.ok()) {
        reportFailure(result.failure, typedBox);
        return;
    }
    // The typed amount stays exactly as typed (and where its cursor is); the two others are written.
    m_results = {m_vatBox, fromNet ? m_grossBox : m_netBox};
    m_vatBox->setText(result.vat);
    (fromNet ? m_grossBox : m_netBox)->setText(fromNet ? result.gross : result.net);
}

void CalculatorBoxes::reportFailure(VatCalculator::Failure failure, TextBox *typedBox)
{
    QString text;
    switch (failure) {
    case VatCalculator::Failure::Rate:
        text = invalidRateText;
        break;
    case VatCalculator::Failure::Amount:
        text = (typedBox == m_netBox ? invalidNetText : invalidGrossText)
                   .arg(QStringLiteral("99") + QLocale().decimalPoint() + QStringLiteral("95"));
        break;
    default:
        text = noResultText;
        break;
    }
    m_messages->inform(invalidTitle, text, MessageDialog::Icon::Warning);
}
