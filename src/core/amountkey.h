#pragma once

#include <QChar>

// What may enter the net and gross boxes, typed or pasted.
namespace AmountKey {

// The digits and , - . / (a fraction is refused later, as no amount).
bool isAmountChar(QChar c);

} // namespace AmountKey
