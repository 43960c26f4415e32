#pragma once
// The message log window: the lines of the game's notices. Each scenario
// read makes it anew; deleted at shutdown.
#include <string>
#include <vector>

class CMessageLogWindow {
public:
    virtual ~CMessageLogWindow() = default;

    // Appends a line of text to the log.
    void AddLine(const std::string& text) { m_lines.push_back(text); }
    const std::vector<std::string>& GetLines() const { return m_lines; }

private:
    std::vector<std::string> m_lines;
};

// Null while no log window exists.
extern CMessageLogWindow* g_messageLogWindow;
