#pragma once
// Inside the platform layer: FFmpeg's own log lines are kept off stderr
// (FFmpeg reports every broken packet and odd header, some once a frame);
// the decoders write one line of their own where something fails.
namespace platform {

// Silences FFmpeg's log for the rest of the run; safe to call often and from
// any thread.
void QuietLibraryLog();

} // namespace platform
