#pragma once

#include "core/vatcalculator.h"

#include <QObject>

class MessageDialog;
class TextBox;

// The behaviour that the main window and the compact window share for their
// boxes netto, x, zelkanteil and brutto: key handling, the two directions,
// copying, clearing and loading the rate. It holds nothing but the boxes;
// every value is read from their texts when it is needed.
class CalculatorFields : public QObject
{
    Q_OBJECT

public:
    // Messages go through the owning window's message dialog.
    CalculatorFields(TextBox *netto, TextBox *x, TextBox *zelkanteil, TextBox *brutto, MessageDialog *messages,
                     QObject *parent);

    // netto, brutto, zelkanteil emptied, in that order; the rate stays.
    void clearAmounts();
    // Binds the rate box's entry list to "zelk.dat" in the program's folder.
    void bindEntryList();
    // The stored rate, or "19" when none or an empty one is stored.
    void loadRate();
    // The rate box's text as the stored rate, and deleting the stored rate.
    // A failure is told with the stop icon; the box keeps its text, and the
    // next load shows what is really stored.
    void saveRate();
    void deleteRate();

    // Empties the clipboard, then puts text on it as plain text.
    static void copyToClipboard(const QString &text);

    // Accessible names shared by both calculator windows.
    static void nameBoxes(TextBox *netto, TextBox *x, TextBox *zelkanteil, TextBox *brutto);

private:
    void onNettoKeyPress(int &keyAscii);
    void onBruttoKeyPress(int &keyAscii);
    void onZelkanteilKeyPress(int &keyAscii);
    void refuseInput();
    void handleInputKey(TextBox *box, int &keyAscii, void (CalculatorFields::*direction)());
    void computeFromNet();
    void computeFromGross();
    void reportFailure(VatCalculator::Failure failure, TextBox *typedBox);
    void reportStoreFailure(const QString &title, const QString &message);

    TextBox *m_netto;
    TextBox *m_x;
    TextBox *m_zelkanteil;
    TextBox *m_brutto;
    MessageDialog *m_messages;
};
