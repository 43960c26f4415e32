#pragma once
// The modal Abort / Retry / Ignore box behind a replaceable handler. With no
// handler installed the null box answers (platform/null/NullMessageBox.h):
// it never blocks, writes the text to stderr and answers as the environment
// variable ORVANDEL_BOX_ANSWER says ("abort", "retry" or "ignore"; Ignore
// when unset or unknown).
#include <functional>
#include <string>

namespace platform {

enum class BoxAnswer { Abort, Retry, Ignore };

using BoxHandler = std::function<BoxAnswer(const std::string& caption, const std::string& text)>;

// Installs a handler; an empty handler restores the null box. Returns the
// handler that was installed before.
BoxHandler SetBoxHandler(BoxHandler handler);

// Shows the box through the current handler.
BoxAnswer ShowAbortRetryIgnore(const std::string& caption, const std::string& text);

// True while a debugger is attached to the process.
bool IsDebuggerAttached();

// Raises a trap when a debugger is attached; does nothing otherwise.
void BreakIntoDebugger();

} // namespace platform
