#pragma once

// What the amount boxes do with a typed character code.
class AmountKey
{
public:
    enum class Action {
        Pass,      // digits and , - . / reach the box unchanged
        Copy,      // Ctrl+C: the whole text goes to the clipboard, the key still reaches the box
        Compute,   // Enter: run the box's direction when it holds text
        Backspace, // reaches the box unchanged
        Refuse,    // beep, message, key discarded
        Ignore     // the read-only box: the key reaches the locked box and changes nothing
    };

    static constexpr int CtrlC = 3;
    static constexpr int BackspaceCode = 8;
    static constexpr int Enter = 13;

    // netto and brutto
    static Action classifyInput(int code);
    // zelkanteil
    static Action classifyReadOnly(int code);
};
