#pragma once

// The program's exit routine: unloads every loaded window; the program ends
// when the last one is gone.
class WindowCloser
{
public:
    static void CloseAllWindows();
};
