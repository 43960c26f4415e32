#pragma once
// Code that keeps the main thread busy for a while (reading files, playing a
// movie in its own loop) calls PumpOneMessage so that the window stays
// responsive. The application shell installs the pump that takes one waiting
// window message and hands it to its window procedure; until then (and in
// tests without a shell) pumping does nothing.

using MessagePumpFunction = int (*)();

// Installs the pump (null removes it).
void SetMessagePump(MessagePumpFunction pump);

// Takes and dispatches one waiting window message through the installed
// pump; 0 when none was waiting, the message was the quit message or no
// pump is installed.
int PumpOneMessage();
