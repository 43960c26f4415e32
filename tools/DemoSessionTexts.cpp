// The texts of the multiplayer session: the chat lines it shows when a
// player or the host leaves a running game, and the host-lost popup.
#include "tools/DemoWorld.h"

namespace {

const demo::DemoText kSessionTexts[] = {
    {"CLIENTLEFT", "%s (%s) has left the game."},
    {"HOSTLEFT", "The host has left the game."},
    {"HOST_DROP_MSG_CLIENT",
     "The connection to the host is lost. The game cannot go on without the host."},
};

} // namespace
