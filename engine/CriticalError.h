#pragma once
// The fatal-error box "Critical error!" with Abort, Retry and Ignore. Abort
// ends the program at once; Retry breaks into an attached debugger (and
// otherwise acts as Ignore); Ignore returns and the caller carries on.
#include <string>

// printf-style; the text is cut to fit 1024 bytes, never overrun.
void CriticalError(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The same with a text already formatted.
void CriticalErrorText(const std::string& text);

// Debug log: writes nothing (kept so the places that log stay visible).
void DebugPrint(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Appends the text and a line end to "log.txt" in the current folder (the
// program empties it at start-up). Nothing happens when it cannot be
// written.
void AppendToLog(const std::string& text);
