#include "country/Banners.h"

#include <cstring>
#include <string>

#include "country/Country.h"
#include "country/CountryTags.h"

namespace {

constexpr const char* kAlternativeBannerTag = "BAF";

// The template with the three characters before ".bmp" replaced by the tag.
const char* FillTemplate(std::string& buffer, const char* pathTemplate, const char* tag) {
    buffer = pathTemplate;
    const size_t at = buffer.rfind("xxx.bmp");
    if (at != std::string::npos)
        buffer.replace(at, 3, std::string(tag).substr(0, 3));
    return buffer.c_str();
}

std::string& ShieldBuffer() {
    static std::string buffer;
    return buffer;
}

const char* ShieldTag(uint32_t number) {
    const CCountry* country = CountryOfNumber(number);
    if (country && country->m_alternativeBanner)
        return kAlternativeBannerTag;
    return GetCountryTag(number);
}

} // namespace

const char* GetCountryShieldPath(uint32_t countryNumber) {
    const CCountry* country = CountryOfNumber(countryNumber);
    const char* pathTemplate = country && country->m_major
                                   ? "gfx\\map\\shields\\shield_xxx.bmp"
                                   : "gfx\\map\\shields\\silver\\shieldsilver_xxx.bmp";
    return FillTemplate(ShieldBuffer(), pathTemplate, ShieldTag(countryNumber));
}

const char* GetCountrySmallShieldPath(uint32_t countryNumber) {
    return FillTemplate(ShieldBuffer(), "gfx\\map\\shields\\small\\smallshield_xxx.bmp",
                        ShieldTag(countryNumber));
}

const char* GetCountryFlagPath(uint32_t countryNumber) {
    static std::string buffer;
    return FillTemplate(buffer, "gfx\\map\\flags\\flag_xxx.bmp", GetCountryTag(countryNumber));
}
