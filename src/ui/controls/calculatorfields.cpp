#include "ui/controls/calculatorfields.h"

#include "core/amountkey.h"
#include "core/vatcalculator.h"
#include "settings/ratesetting.h"
#include "system/programfolder.h"
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
const QString invalidNetText = QStringLiteral(
    "Der Nettowert ist keine gültige Zahl.\r\rBitte geben Sie einen Betrag wie 100 oder 99,95 ein.");
const QString invalidGrossText = QStringLiteral(
    "Der Bruttowert ist keine gültige Zahl.\r\rBitte geben Sie einen Betrag wie 119 oder 99,95 ein.");
const QString saveRateTitle = QStringLiteral("Prozentwert speichern");
const QString deleteRateTitle = QStringLiteral("Prozentwert löschen");
const QString entryListTitle = QStringLiteral("Gespeicherte Werte");
const QString rateNotSavedText = QStringLiteral("Der Mehrwertsteuersatz konnte nicht gespeichert werden: %1");
const QString rateNotDeletedText
    = QStringLiteral("Der gespeicherte Mehrwertsteuersatz konnte nicht gelöscht werden: %1");
const QString noResultText
    = QStringLiteral("Mit diesem Mehrwertsteuersatz und diesem Betrag lässt sich kein Ergebnis berechnen.");

} // namespace

CalculatorFields::CalculatorFields(TextBox *netto, TextBox *x, TextBox *zelkanteil, TextBox *brutto,
                                   MessageDialog *messages, QObject *parent)
    : QObject(parent)
    , m_netto(netto)
    , m_x(x)
    , m_zelkanteil(zelkanteil)
    , m_brutto(brutto)
    , m_messages(messages)
{
    connect(m_netto, &TextBox::keyPress, this, &CalculatorFields::onNettoKeyPress);
    connect(m_brutto, &TextBox::keyPress, this, &CalculatorFields::onBruttoKeyPress);
    // Pasted and dropped text obeys the rules of typed text.
    for (TextBox *box : {m_netto, m_brutto}) {
        box->setInsertFilter(
            [](QChar c) { return AmountKey::classifyInput(c.unicode()) == AmountKey::Action::Pass; });
        connect(box, &TextBox::insertRefused, this, &CalculatorFields::refuseInput);
    }
    connect(m_zelkanteil, &TextBox::keyPress, this, &CalculatorFields::onZelkanteilKeyPress);
    connect(m_x, &TextBox::entryListFailed, this,
            [this](const QString &message) { reportStoreFailure(entryListTitle, message); });
}

void CalculatorFields::nameBoxes(TextBox *netto, TextBox *x, TextBox *zelkanteil, TextBox *brutto)
{
    netto->setObjectName(QStringLiteral("netto"));
    netto->setAccessibleName(QStringLiteral("Nettobetrag"));
    x->setObjectName(QStringLiteral("x"));
    x->setAccessibleName(QStringLiteral("Mehrwertsteuersatz"));
    zelkanteil->setObjectName(QStringLiteral("zelkanteil"));
    zelkanteil->setAccessibleName(QStringLiteral("Mehrwertsteuerbetrag"));
    brutto->setObjectName(QStringLiteral("brutto"));
    brutto->setAccessibleName(QStringLiteral("Bruttobetrag"));
    for (TextBox *amount : {netto, zelkanteil, brutto})
        amount->setMaxChars(15);
    zelkanteil->setLocked(true);
    zelkanteil->setBalloonTip(QStringLiteral("Gesperrt"), QStringLiteral("Keine Eingabe möglich!"));
}

void CalculatorFields::clearAmounts()
{
    m_netto->setText(QString());
    m_brutto->setText(QString());
    m_zelkanteil->setText(QString());
}

void CalculatorFields::bindEntryList()
{
    m_x->setEntryListFile(ProgramFolder::entryListFile());
    m_x->setEntryListEnabled(true);
    m_x->setEntryListCaption(QStringLiteral("Zelk.-Satz"));
}

void CalculatorFields::loadRate()
{
    m_x->setText(RateSetting::read());
    if (m_x->text().isEmpty())
        m_x->setText(RateSetting::defaultRate());
}

void CalculatorFields::saveRate()
{
    const StoreResult result = RateSetting::save(m_x->text());
    if (result.failed())
        reportStoreFailure(saveRateTitle, rateNotSavedText.arg(result.reason()));
}

void CalculatorFields::deleteRate()
{
    // Nothing stored is nothing to delete: no message.
    const StoreResult result = RateSetting::remove();
    if (result.failed())
        reportStoreFailure(deleteRateTitle, rateNotDeletedText.arg(result.reason()));
}

void CalculatorFields::reportStoreFailure(const QString &title, const QString &message)
{
    m_messages->inform(title, message, MessageDialog::Icon::Stop);
}

void CalculatorFields::copyToClipboard(const QString &text)
{
    QClipboard *clipboard = QApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}

void CalculatorFields::onNettoKeyPress(int &keyAscii)
{
    handleInputKey(m_netto, keyAscii, &CalculatorFields::computeFromNet);
}

void CalculatorFields::onBruttoKeyPress(int &keyAscii)
{
    handleInputKey(m_brutto, keyAscii, &CalculatorFields::computeFromGross);
}

void CalculatorFields::onZelkanteilKeyPress(int &keyAscii)
{
    if (AmountKey::classifyReadOnly(keyAscii) == AmountKey::Action::Copy)
        copyToClipboard(m_zelkanteil->text());
}

void CalculatorFields::handleInputKey(TextBox *box, int &keyAscii, void (CalculatorFields::*direction)())
{
    switch (AmountKey::classifyInput(keyAscii)) {
    case AmountKey::Action::Pass:
    case AmountKey::Action::Backspace:
    case AmountKey::Action::Ignore:
        break;
    case AmountKey::Action::Copy:
        copyToClipboard(box->text());
        break;
    case AmountKey::Action::Compute:
        if (!box->text().isEmpty())
            (this->*direction)();
        break;
    case AmountKey::Action::Refuse:
        keyAscii = 0;
        refuseInput();
        break;
    }
}

void CalculatorFields::refuseInput()
{
    QApplication::beep();
    m_messages->inform(refusedKeyTitle, refusedKeyText, MessageDialog::Icon::Warning);
}

void CalculatorFields::computeFromNet()
{
    const auto result = VatCalculator::fromNet(m_x->text(), m_netto->text(), QLocale::system());
    if (!result.ok()) {
        reportFailure(result.failure, m_netto);
        return;
    }
    m_zelkanteil->setText(result.vat);
    m_brutto->setText(result.other);
}

void CalculatorFields::computeFromGross()
{
    const auto result = VatCalculator::fromGross(m_x->text(), m_brutto->text(), QLocale::system());
    if (!result.ok()) {
        reportFailure(result.failure, m_brutto);
        return;
    }
    m_netto->setText(result.other);
    m_zelkanteil->setText(result.vat);
}

void CalculatorFields::reportFailure(VatCalculator::Failure failure, TextBox *typedBox)
{
    QString text;
    switch (failure) {
    case VatCalculator::Failure::Rate:
        text = invalidRateText;
        break;
    case VatCalculator::Failure::Amount:
        text = typedBox == m_netto ? invalidNetText : invalidGrossText;
        break;
    default:
        text = noResultText;
        break;
    }
    m_messages->inform(invalidTitle, text, MessageDialog::Icon::Warning);
}
