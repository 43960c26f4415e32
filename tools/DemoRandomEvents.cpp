// The random events table, "db\RandomEvents.csv": a header, then one row per
// event number 1..100, the number and the event's name. The demo world names
// the fifty random events the game draws and leaves the other numbers
// nameless.
#include <string>

#include "tools/DemoWorld.h"

namespace {

struct NamedEvent {
    int number;
    const char* name;
};

constexpr NamedEvent kEvents[] = {
    {1, "Bountiful harvest"},
    {2, "Failed harvest"},
    {3, "Flood in the lowlands"},
    {7, "Guild quarrel"},
    {8, "Silver vein found"},
    {9, "Pirate scare"},
    {10, "Court intrigue"},
    {11, "Learned visitor"},
    {12, "Bridge collapses"},
    {13, "Peasant petition"},
    {14, "Fair season"},
    {15, "Comet sighted"},
    {16, "Debased coinage"},
    {17, "Merchant fleet returns"},
    {18, "Great fire"},
    {20, "Noble feud"},
    {21, "Monastery endowed"},
    {22, "Bandits on the roads"},
    {24, "Royal wedding feast"},
    {25, "Harsh winter"},
    {26, "Printing press arrives"},
    {27, "Mutiny in the garrison"},
    {28, "Tax revolt"},
    {29, "New trade route"},
    {30, "Outbreak of sickness"},
    {31, "Relic procession"},
    {32, "Shipwright's invention"},
    {33, "Forest fire"},
    {34, "Foreign adventurer"},
    {35, "Smuggling ring"},
    {36, "Border incident"},
    {37, "Generous patron"},
    {38, "Locust swarm"},
    {39, "Heretic preacher"},
    {40, "Good fishing year"},
    {41, "Spy unmasked"},
    {42, "Drought"},
    {43, "Mercenary captain"},
    {44, "Treasury miscount"},
    {45, "Famous duel"},
    {46, "Canal dug"},
    {47, "Wool glut"},
    {48, "Earthquake"},
    {49, "Pilgrims arrive"},
    {50, "Windmill boom"},
    {52, "Royal hunt"},
    {54, "Salt works flooded"},
    {57, "Cartographer's gift"},
    {58, "Horse plague"},
    {59, "Lucky prize at sea"},
};

std::string RandomEventsTable() {
    std::string text = "event;name\r\n";
    for (int number = 1; number <= 100; ++number) {
        const char* name = "";
        for (const NamedEvent& event : kEvents)
            if (event.number == number)
                name = event.name;
        text += std::to_string(number) + ";" + name + "\r\n";
    }
    return text;
}

bool WriteRandomEvents(const std::filesystem::path& game) {
    return demo::WriteFile(game / "db" / "RandomEvents.csv", RandomEventsTable());
}

const demo::DemoWriter kRandomEventsWriter("db/RandomEvents.csv", &WriteRandomEvents);

} // namespace
