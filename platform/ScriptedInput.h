#pragma once
// The headless driver's script of window events. ORVANDEL_SCRIPT names a
// text file of lines "<when> <action> [arguments]"; empty lines and lines
// beginning with "#" are passed over. <when> is a main loop pass (0 is the
// first) or the name of a checkpoint of the program (a start-up step, see
// ORVANDEL_TRACE; docs/headless.md lists them with their moments). Actions:
//   keydown <vk>, keyup <vk>, char <code>    a key by its virtual key code
//   click <x> <y>                            left button down, then up
//   ldown <x> <y>, lup <x> <y>, rclick <x> <y>
//   activate <0|1>                           the application (de)activated
//   close                                    the window is closed
//   screenshot <file>                        the shown picture as a BMP
//   play <file> <country> <game type>        the choice the front end's
//                                            set-up screens make: play the
//                                            scenario file (game path,
//                                            without ".ovg") as the country
//                                            number in the game type
// The events of a pass or checkpoint are posted as window messages (in the
// script's order) when the program reaches it; the screenshots are handed
// back to the program to write. ORVANDEL_TRACE=1 prints each checkpoint
// (and what the program chooses to trace) to stderr.
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// The script, read on first use; a line that cannot be read is reported on
// stderr and passed over.
// At a main loop pass: posts its events and answers its screenshot files.
std::vector<std::string> ScriptFrame(uint32_t pass);
// At a named checkpoint: the same, and the trace line "checkpoint <name>".
std::vector<std::string> ScriptCheckpoint(const std::string& name);

// A "play" line of the script.
struct PlayChoice {
    std::string file;
    int32_t country = 0;
    int32_t gameType = 0;
};
// The "play" choice of a main loop pass; false when it has none.
bool ScriptPlayChoice(uint32_t pass, PlayChoice& out);

// True when ORVANDEL_TRACE is "1".
bool TraceOn();
// Writes the line (a newline is added) to stderr when TraceOn.
void Trace(const std::string& line);

} // namespace platform
