#include "engine/NamedObject.h"

#include <cstring>

int CNamedObject::HandleMessage(COVEvent& /*message*/) {
    return EVENT_NOT_HANDLED;
}

int CNamedObject::Read(CFieldReader& /*reader*/) {
    return -2; // FIELD_ERROR: the text format lies above the engine
}

void CNamedObject::SetName(const char* name) {
    size_t length = name ? std::strlen(name) : 0;
    if (length > NAME_SIZE - 1)
        length = NAME_SIZE - 1;
    if (length > 0)
        std::memcpy(m_name, name, length);
    m_name[length] = '\0';
}
