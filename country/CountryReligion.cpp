#include "country/CountryReligion.h"

#include "country/Country.h"
#include "data/DataTree.h"
#include "data/GameFile.h"
#include "data/Keywords.h"
#include "engine/TextDatabase.h"
#include "world/Globals.h"
#include "world/MapModes.h"
#include "world/Province.h"
#include "world/ScenarioSteps.h"
#include "world/Settlement.h"

namespace {

constexpr uint32_t kReligionKeywords[kReligionCount] = {
    KW_PROTESTANT, KW_REFORMED, KW_COUNTERREFORM, KW_CATHOLIC,
    KW_ORTHODOX,   KW_SUNNI,    KW_SHIITE,        KW_PAGAN};
constexpr const char* kReligionTextKeys[kReligionCount] = {
    "PROTESTANT", "REFORMED", "CREFCATHOLIC", "CATHOLIC", "ORTHODOX", "SUNNI", "SHIITE", "PAGAN"};

// The reformation's event flags.
constexpr uint32_t kFlagProtestant = 1;
constexpr uint32_t kFlagReformed = 2;
constexpr uint32_t kFlagCounterReform = 3;
constexpr uint32_t kFlagCounterReformEnds = 4;

bool Flag(uint32_t n) {
    return g_globals.EventFlag(n);
}

// The religion code of a keyword, -1 for any other token.
int32_t ReligionOfKeyword(uint32_t code) {
    for (uint32_t religion = 0; religion < kReligionCount; ++religion)
        if (kReligionKeywords[religion] == code)
            return static_cast<int32_t>(religion);
    return -1;
}

using Tolerances = std::array<float, kReligionCount>;

// The default tolerances, in religion order (PROT, REF, CREF, CATH, ORTH,
// SUNNI, SHIITE, PAGAN).
Tolerances DefaultTolerances(uint32_t religion) {
    const bool protestant = Flag(kFlagProtestant);
    const bool reformed = Flag(kFlagReformed);
    switch (religion) {
    case RELIGION_PROTESTANT:
        return reformed ? Tolerances{6, 2, -2, -2, 0, -6, -6, 0}
                        : Tolerances{6, 0, 0, 0, 0, -6, -6, 0};
    case RELIGION_REFORMED:
        return {3, 5, -2, -2, 0, -6, -6, 0};
    case RELIGION_COUNTERREFORM:
        return {-5, -5, 10, 10, 3, -3, -3, 0};
    case RELIGION_CATHOLIC:
        if (reformed)
            return {-4, -2, 10, 10, 2, -6, -6, 0};
        return protestant ? Tolerances{-4, 0, 10, 10, 2, -7, -7, 0}
                          : Tolerances{0, 0, 10, 10, 0, 0, -10, 0};
    case RELIGION_ORTHODOX:
        if (reformed)
            return {-3, -3, 0, 0, 10, -4, -4, 0};
        return protestant ? Tolerances{-2, 0, -2, -2, 10, -4, -4, 0}
                          : Tolerances{0, 0, -4, -4, 10, -6, -6, 0};
    case RELIGION_SUNNI:
        return protestant ? Tolerances{-2, -2, -2, -2, 0, 10, -6, 0}
                          : Tolerances{0, 0, -3, -3, -1, 10, -6, 0};
    case RELIGION_SHIITE:
        return protestant ? Tolerances{-2, -2, -2, -2, 0, -6, 10, 0}
                          : Tolerances{0, 0, -3, -3, -1, -6, 10, 0};
    default:
        return {};
    }
}

// The state religion of the country of the number, -1 when there is none.
int32_t StateReligionOfNumber(int32_t number) {
    const CCountry* country = CountryOfNumber(number);
    return country ? static_cast<int32_t>(country->m_religion.stateReligion) : -1;
}

const bool g_registered = [] {
    g_scenarioSteps.stateReligionOf = &StateReligionOfNumber;
    g_settlementCountries.religionOf = &StateReligionOfNumber;
    g_mapModeHooks.religionOf = &StateReligionOfNumber;
    return true;
}();

} // namespace

void CCountryReligion::SetTolerance(uint32_t religion, float value) {
    if (religion < kReligionCount)
        tolerance[religion] = value;
    SyncCounterReformed();
}

void CCountryReligion::SyncCounterReformed() {
    tolerance[RELIGION_COUNTERREFORM] = tolerance[RELIGION_CATHOLIC];
}

void CCountryReligion::Assign(const CCountryReligion& other) {
    tolerance = other.tolerance;
    stateReligion = other.stateReligion;
}

int32_t CCountryReligion::Read(CFieldReader& in) {
    for (;;) {
        const int32_t result = in.ReadFieldOrClose();
        if (result == FIELD_ERROR)
            continue; // a key without "=": reported, the next field follows
        if (result != FIELD_READ)
            return result;
        const Token& value = in.value;
        if (in.key.code == KW_TYPE) {
            const int32_t religion = ReligionOfKeyword(value.code);
            if (religion >= 0)
                stateReligion = static_cast<uint32_t>(religion);
            else
                in.ReportError("Unknown religion");
            tolerance = DefaultTolerances(stateReligion);
            continue;
        }
        const int32_t religion = ReligionOfKeyword(in.key.code);
        if (religion < 0) {
            in.ReportError("Country : Unexpected field");
            if (value.code == TOKEN_OPEN_BRACE)
                SkipRestOfBlock(in); // the nested block
            SkipRestOfBlock(in);
            return FIELD_ERROR;
        }
        if (value.code == TOKEN_OPEN_BRACE) {
            in.ReportError("Country : Unexpected field");
            SkipRestOfBlock(in);
            continue;
        }
        // "counterreform" is taken and follows the catholics at once.
        if (value.code == TOKEN_NUMBER && religion != RELIGION_COUNTERREFORM)
            tolerance[static_cast<size_t>(religion)] = TokenToFloat(value.text);
        SyncCounterReformed();
    }
}

CDataBlock* CCountryReligion::Write() const {
    auto* block = new CDataBlock();
    const uint32_t type =
        stateReligion < kReligionCount ? stateReligion : static_cast<uint32_t>(RELIGION_PAGAN);
    block->AddChild(new CDataAssignment(KW_TYPE, new CDataIdentifier(kReligionKeywords[type])));
    for (uint32_t religion : {RELIGION_CATHOLIC, RELIGION_ORTHODOX, RELIGION_PROTESTANT,
                              RELIGION_SUNNI, RELIGION_SHIITE, RELIGION_PAGAN, RELIGION_REFORMED})
        block->AddChild(
            new CDataAssignment(kReligionKeywords[religion], new CFloatNode(tolerance[religion])));
    return block;
}

CCountryReligion GetDefaultTolerances(uint32_t religion) {
    CCountryReligion record;
    record.stateReligion = religion;
    record.tolerance = DefaultTolerances(religion);
    return record;
}

bool IsReligionAvailable(uint32_t religion) {
    if (g_fantasyMode)
        return true;
    switch (religion) {
    case RELIGION_PROTESTANT:
        return Flag(kFlagProtestant);
    case RELIGION_REFORMED:
        return Flag(kFlagReformed);
    case RELIGION_COUNTERREFORM:
        return Flag(kFlagCounterReform) && !Flag(kFlagCounterReformEnds);
    case RELIGION_CATHOLIC:
    case RELIGION_ORTHODOX:
    case RELIGION_SUNNI:
    case RELIGION_SHIITE:
    case RELIGION_PAGAN:
        return true;
    default:
        return false;
    }
}

std::string GetReligionDisplayName(uint32_t religion) {
    const char* key = religion < RELIGION_PAGAN ? kReligionTextKeys[religion] : "PAGAN";
    return g_textDatabase.GetText(key);
}

bool IsDifferentReligion(uint32_t a, uint32_t b) {
    if (a == b)
        return false;
    const auto catholic = [](uint32_t r) {
        return r == RELIGION_CATHOLIC || r == RELIGION_COUNTERREFORM;
    };
    return !(catholic(a) && catholic(b));
}

uint32_t ReligionKeyword(uint32_t religion) {
    return religion < kReligionCount ? kReligionKeywords[religion] : 0;
}
