#include "core/amountkey.h"

AmountKey::Action AmountKey::classifyInput(int code)
{
    // , - . / and the digits lie together in the character table.
    if (code >= ',' && code <= '9')
        return Action::Pass;
    switch (code) {
    case CtrlC:
        return Action::Copy;
    case Enter:
        return Action::Compute;
    case BackspaceCode:
        return Action::Backspace;
    default:
        return Action::Refuse;
    }
}

AmountKey::Action AmountKey::classifyReadOnly(int code)
{
    return code == CtrlC ? Action::Copy : Action::Ignore;
}
