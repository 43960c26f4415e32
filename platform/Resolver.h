#pragma once
// The system's name service: its configured DNS servers and its host lookup.
#include <string>

namespace platform {

// The first "nameserver" line of a resolv.conf file that names a dotted IPv4
// address; empty when the file cannot be read or names none.
std::string FirstNameServer(const std::string& resolvConfPath = "/etc/resolv.conf");

// True when the text is a dotted IPv4 address ("192.0.2.1").
bool IsDottedIPv4(const std::string& text);

// Looks a host name up through the system and answers its first IPv4
// address in dotted form; false when the name has none.
bool LookupHostAddress(const std::string& name, std::string& address);

} // namespace platform
