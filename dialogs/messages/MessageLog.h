#pragma once
// The message log window: the lines of the game's notices. One window for
// the program's life, deleted at shutdown.

class CMessageLogWindow {
public:
    virtual ~CMessageLogWindow() = default;
};

// Null while no log window exists.
extern CMessageLogWindow* g_messageLogWindow;
