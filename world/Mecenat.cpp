#include "world/Mecenat.h"

#include <memory>

bool (*g_fileTraveller)(CMecenat* traveller) = nullptr;

int32_t CMecenat::ReadAndFile(CFieldReader& in) {
    auto traveller = std::make_unique<CMecenat>();
    int32_t result = traveller->Read(in);
    if (result == FIELD_BLOCK_END && g_fileTraveller && g_fileTraveller(traveller.get()))
        traveller.release();
    return result;
}
