#include "platform/Resolver.h"

#include <arpa/inet.h>
#include <fstream>
#include <netdb.h>
#include <netinet/in.h>
#include <sstream>
#include <sys/socket.h>

namespace platform {

std::string FirstNameServer(const std::string& resolvConfPath) {
    std::ifstream in(resolvConfPath);
    std::string line;
    // A resolv.conf is a few lines; the bound guards against a huge file.
    for (int count = 0; count < 10000 && std::getline(in, line); ++count) {
        std::istringstream words(line);
        std::string keyword;
        std::string value;
        if (words >> keyword >> value && keyword == "nameserver" && IsDottedIPv4(value))
            return value;
    }
    return {};
}

bool IsDottedIPv4(const std::string& text) {
    if (text.find('\0') != std::string::npos)
        return false;
    in_addr address;
    return inet_pton(AF_INET, text.c_str(), &address) == 1;
}

bool LookupHostAddress(const std::string& name, std::string& address) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (name.empty() || name.find('\0') != std::string::npos ||
        getaddrinfo(name.c_str(), nullptr, &hints, &found) != 0 || !found)
        return false;
    char text[INET_ADDRSTRLEN] = {};
    const auto* entry = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
    const bool ok = inet_ntop(AF_INET, &entry->sin_addr, text, sizeof text) != nullptr;
    freeaddrinfo(found);
    if (ok)
        address = text;
    return ok;
}

} // namespace platform
