#pragma once

#include <QAbstractButton>
#include <QKeyEvent>

// Return or the keypad's Enter without Ctrl, Alt or Shift: users press a
// focused button with it as with Space.
inline bool isPlainEnter(const QKeyEvent *event)
{
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    return plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter);
}

// Presses the button when the key is a plain Enter; false for any other key.
inline bool clickOnPlainEnter(QAbstractButton *button, const QKeyEvent *event)
{
    if (!isPlainEnter(event))
        return false;
    button->click();
    return true;
}
