#include "core/amountkey.h"

AmountKey::Action AmountKey::classifyInput(int code)
{
    if (code >= 44 && code <= 57)
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
