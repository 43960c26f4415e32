#include "world/Mecenat.h"

#include <memory>

#include "ui/MainScreen.h"

int32_t CMecenat::ReadAndFile(CFieldReader& in) {
    auto traveller = std::make_unique<CMecenat>();
    int32_t result = traveller->Read(in);
    if (result == 0 && g_mainScreen && g_mainScreen->travellers.AddTail(traveller.get()))
        traveller.release();
    return result;
}
