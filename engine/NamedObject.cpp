#include "engine/NamedObject.h"

#include <cstring>

int CNamedObject::HandleMessage(COVEvent& /*message*/) {
    return 0;
}

int CNamedObject::Read(CFieldReader& /*reader*/) {
    return -2;
}

void CNamedObject::SetName(const char* name) {
    size_t length = name ? std::strlen(name) : 0;
    if (length > NAME_SIZE - 1)
        length = NAME_SIZE - 1;
    if (length > 0)
        std::memcpy(m_name, name, length);
    m_name[length] = '\0';
}
