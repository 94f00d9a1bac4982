#include "ui/calculator/calculatorpanel.h"

#include "core/amountkey.h"
#include "core/clipboardtext.h"
#include "settings/entrylist.h"
#include "settings/ratesetting.h"
#include "system/programfolder.h"
#include "ui/controls/messagedialog.h"

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
const QString invalidNetText = QStringLiteral(
    "Der Nettowert ist keine gültige Zahl.\r\rBitte geben Sie einen Betrag wie 100 oder 99,95 ein.");
const QString invalidGrossText = QStringLiteral(
    "Der Bruttowert ist keine gültige Zahl.\r\rBitte geben Sie einen Betrag wie 119 oder 99,95 ein.");
const QString noResultText
    = QStringLiteral("Mit diesem Mehrwertsteuersatz und diesem Betrag lässt sich kein Ergebnis berechnen.");
const QString saveRateTitle = QStringLiteral("Prozentwert speichern");
const QString deleteRateTitle = QStringLiteral("Prozentwert löschen");
const QString rateNotSavedText = QStringLiteral("Der Mehrwertsteuersatz konnte nicht gespeichert werden: %1");
const QString rateNotDeletedText
    = QStringLiteral("Der gespeicherte Mehrwertsteuersatz konnte nicht gelöscht werden: %1");
const QString entryListTitle = QStringLiteral("Gespeicherte Werte");
const QString entryListCaption = QStringLiteral("Zelk.-Satz");
const QString entryNotAddedText
    = QStringLiteral("Der Wert „%1“ konnte nicht in die Liste aufgenommen werden: %2");
const QString entryNotRemovedText
    = QStringLiteral("Der Wert „%1“ konnte nicht aus der Liste entfernt werden: %2");

// The longest amount the user may type; results may be longer.
constexpr int amountChars = 15;

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

CalculatorPanel::CalculatorPanel(QWidget *window, MessageDialog *messages)
    : QObject(window)
    , m_messages(messages)
{
    const QString noAmount = QStringLiteral("0,00");
    m_netBox = makeBox(window, QStringLiteral("netBox"), QStringLiteral("Nettobetrag"), noAmount);
    m_rateBox = makeBox(window, QStringLiteral("rateBox"), QStringLiteral("Mehrwertsteuersatz"),
                        RateSetting::defaultRate());
    m_vatBox = makeBox(window, QStringLiteral("vatBox"), QStringLiteral("Mehrwertsteuerbetrag"), noAmount);
    m_grossBox = makeBox(window, QStringLiteral("grossBox"), QStringLiteral("Bruttobetrag"), noAmount);
    for (TextBox *amount : {m_netBox, m_vatBox, m_grossBox})
        amount->setMaxChars(amountChars);
    // A rate of two digits and a decimal, such as 16,5, is read whole.
    m_rateBox->setWholeText(QStringLiteral("00,0"));
    m_vatBox->setLocked(true);
    m_vatBox->setBalloonTip(QStringLiteral("Gesperrt"), QStringLiteral("Keine Eingabe möglich!"));

    // Enter computes from the box that holds a typed amount.
    connect(m_netBox, &TextBox::enterPressed, this, [this] {
        if (!m_netBox->text().isEmpty())
            computeFromNet();
    });
    connect(m_grossBox, &TextBox::enterPressed, this, [this] {
        if (!m_grossBox->text().isEmpty())
            computeFromGross();
    });
    // Ctrl+C copies an amount whole, also without a selection.
    connect(m_netBox, &TextBox::copyPressed, this, &CalculatorPanel::copyNet);
    connect(m_vatBox, &TextBox::copyPressed, this, &CalculatorPanel::copyVat);
    connect(m_grossBox, &TextBox::copyPressed, this, &CalculatorPanel::copyGross);
    for (TextBox *box : {m_netBox, m_grossBox}) {
        box->setInputFilter(AmountKey::isAmountChar);
        connect(box, &QLineEdit::inputRejected, this, &CalculatorPanel::refuseInput);
    }
}

void CalculatorPanel::setFocusColors(const QColor &amounts, const QColor &rate)
{
    for (TextBox *amount : {m_netBox, m_vatBox, m_grossBox})
        amount->setFocusBackColor(amounts);
    m_rateBox->setFocusBackColor(rate);
}

void CalculatorPanel::clearAmounts()
{
    m_netBox->setText(QString());
    m_grossBox->setText(QString());
    m_vatBox->setText(QString());
}

void CalculatorPanel::bindEntryList()
{
    bindEntryList(ProgramFolder::entryListFile());
}

void CalculatorPanel::bindEntryList(const QString &file)
{
    m_entryListFile = file;
    m_rateBox->setEntryList(this, entryListCaption);
}

QStringList CalculatorPanel::entries() const
{
    return EntryList::load(m_entryListFile);
}

bool CalculatorPanel::canAdd(const QString &value, const QStringList &entries) const
{
    return EntryList::validEntry(value) && !entries.contains(value) && entries.size() < EntryList::maxEntries;
}

void CalculatorPanel::add(const QString &value)
{
    const StoreResult result = EntryList::add(m_entryListFile, value);
    if (result.failed())
        reportStoreFailure(entryListTitle, entryNotAddedText.arg(value, result.reason()));
}

void CalculatorPanel::remove(const QString &value)
{
    const StoreResult result = EntryList::remove(m_entryListFile, value);
    if (result.failed())
        reportStoreFailure(entryListTitle, entryNotRemovedText.arg(value, result.reason()));
}

void CalculatorPanel::loadRate()
{
    m_rateBox->setText(RateSetting::read());
    if (m_rateBox->text().isEmpty())
        m_rateBox->setText(RateSetting::defaultRate());
}

void CalculatorPanel::saveRate()
{
    const StoreResult result = RateSetting::save(m_rateBox->text());
    if (result.failed())
        reportStoreFailure(saveRateTitle, rateNotSavedText.arg(result.reason()));
}

void CalculatorPanel::deleteRate()
{
    // Nothing stored is nothing to delete: no message.
    const StoreResult result = RateSetting::remove();
    if (result.failed())
        reportStoreFailure(deleteRateTitle, rateNotDeletedText.arg(result.reason()));
}

void CalculatorPanel::reportStoreFailure(const QString &title, const QString &message)
{
    m_messages->inform(title, message, MessageDialog::Icon::Stop);
}

void CalculatorPanel::copyNet() const
{
    copyToClipboard(m_netBox->text());
}

void CalculatorPanel::copyVat() const
{
    copyToClipboard(m_vatBox->text());
}

void CalculatorPanel::copyGross() const
{
    copyToClipboard(m_grossBox->text());
}

void CalculatorPanel::copyAll() const
{
    copyToClipboard(
        ClipboardText::allAmounts(m_netBox->text(), m_vatBox->text(), m_rateBox->text(), m_grossBox->text()));
}

void CalculatorPanel::refuseInput()
{
    QApplication::beep();
    m_messages->inform(refusedKeyTitle, refusedKeyText, MessageDialog::Icon::Warning);
}

void CalculatorPanel::computeFromNet()
{
    const auto result = VatCalculator::fromNet(m_rateBox->text(), m_netBox->text(), QLocale::system());
    if (!result.ok()) {
        reportFailure(result.failure, m_netBox);
        return;
    }
    m_vatBox->setText(result.vat);
    m_grossBox->setText(result.other);
}

void CalculatorPanel::computeFromGross()
{
    const auto result = VatCalculator::fromGross(m_rateBox->text(), m_grossBox->text(), QLocale::system());
    if (!result.ok()) {
        reportFailure(result.failure, m_grossBox);
        return;
    }
    m_netBox->setText(result.other);
    m_vatBox->setText(result.vat);
}

void CalculatorPanel::reportFailure(VatCalculator::Failure failure, TextBox *typedBox)
{
    QString text;
    switch (failure) {
    case VatCalculator::Failure::Rate:
        text = invalidRateText;
        break;
    case VatCalculator::Failure::Amount:
        text = typedBox == m_netBox ? invalidNetText : invalidGrossText;
        break;
    default:
        text = noResultText;
        break;
    }
    m_messages->inform(invalidTitle, text, MessageDialog::Icon::Warning);
}
