#include "dialogs/MessageTypes.h"

#include "ui/widgets/PopupDialog.h"

namespace {

// The four settings as the player sees them.
enum Setting { kOff, kLog, kBox, kBoxAndPause };

constexpr MessageTypeRecord Row(int32_t id, int32_t kind, Setting setting, const char* style,
                                const char* key) {
    const uint8_t display = setting == kOff ? 0 : 1;
    const uint8_t box = setting == kBox || setting == kBoxAndPause ? 1 : 0;
    const uint8_t pause = setting == kBoxAndPause ? 1 : 0;
    return {id, kind, box, display, box, display, box, display, pause, pause, pause, style, key};
}

// The factory settings. The keys stand as the text file has them
// ("MOYMARREJECT", "MILLALLJOINREJECTOTHER" ...).
constexpr std::array<MessageTypeRecord, kMessageTypeCount> kDefaultMessageTypes = {{
    Row(0, 0, kBox, "mon", "NEWMON"),
    Row(1, 3, kBox, "mis", "TUTORIAL"),
    Row(2, 2, kBox, "mis", "MISSUCC"),
    Row(3, 2, kBox, "mis", "MISSFAIL"),
    Row(4, 3, kBox, "mon", "RANEVENT"),
    Row(5, 0, kBox, "mon", "RANEVENTHIST"),
    Row(6, 3, kBox, "mon", "HISTEVENT"),
    Row(7, 2, kBox, "mis", "MISSNEW"),
    Row(8, 0, kLog, "mon", "NEWMONOTHER"),
    Row(9, 0, kLog, "mis", "MISSUCCOTHER"),
    Row(10, 4, kLog, "fin", "LOANOUT"),
    Row(11, 0, kBox, "fin", "BANKRUPT"),
    Row(12, 0, kBox, "fin", "AUTOLOAN"),
    Row(13, 0, kBox, "fin", "MANULOAN"),
    Row(14, 1, kLog, "tra", "MANUFINISH"),
    Row(15, 1, kOff, "tra", "MANUFAILED"),
    Row(16, 2, kOff, "mon", "STABDROP"),
    Row(17, 2, kOff, "mon", "STABINCREASE"),
    Row(18, 2, kOff, "tra", "TEDROP"),
    Row(19, 2, kOff, "mon", "PEDROP"),
    Row(20, 1, kBoxAndPause, "mon", "MERCSEND"),
    Row(21, 1, kLog, "mon", "MERCSUCC"),
    Row(22, 1, kLog, "mon", "MERCFAIL"),
    Row(23, 1, kBox, "mon", "MERCLOSS"),
    Row(24, 1, kBox, "mon", "MERCOLOSS"),
    Row(25, 2, kBox, "mon", "LTINCREASE"),
    Row(26, 2, kBox, "mon", "NTINCREASE"),
    Row(27, 2, kBox, "mon", "INFRATINCREASE"),
    Row(28, 2, kBox, "mon", "TRADETINCREASE"),
    Row(29, 1, kLog, "tra", "TRADEREFUSAL"),
    Row(30, 1, kLog, "tra", "TRADEALLOW"),
    Row(31, 1, kLog, "tra", "OWNTRADEREFUSAL"),
    Row(32, 1, kLog, "tra", "OWNTRADEALLOW"),
    Row(33, 1, kBox, "tra", "COTMOVE"),
    Row(34, 1, kBox, "tra", "NEWCOT"),
    Row(35, 1, kLog, "tra", "MONOPOLY"),
    Row(36, 1, kLog, "tra", "MONOPOLYOTHER"),
    Row(37, 0, kOff, "tra", "BANKRUPTOTHER"),
    Row(38, 1, kOff, "mon", "STABINCREASEOTHER"),
    Row(39, 1, kBox, "dip", "DECLWAR"),
    Row(40, 4, kLog, "dip", "PEACEPROP"),
    Row(41, 1, kBox, "dip", "PEACEACCEPT"),
    Row(42, 1, kBox, "dip", "PEACEREJECT"),
    Row(43, 4, kLog, "dip", "LOANSPROP"),
    Row(44, 0, kLog, "dip", "LOANSREPAY"),
    Row(45, 0, kLog, "dip", "LOANSNOREPAY"),
    Row(46, 0, kBox, "dip", "GIFTREC"),
    Row(47, 0, kLog, "dip", "GIFTTOOTHER"),
    Row(48, 0, kLog, "dip", "LOANSACCEPT"),
    Row(49, 0, kLog, "dip", "LOANSREJECT"),
    Row(50, 4, kLog, "dip", "ROYMARPROP"),
    Row(51, 1, kLog, "dip", "ROYMARACCEPT"),
    Row(52, 1, kLog, "dip", "MOYMARREJECT"),
    Row(53, 4, kLog, "dip", "MILALLPROP"),
    Row(54, 0, kLog, "dip", "MILALLACCEPT"),
    Row(55, 0, kLog, "dip", "MILALLREJECT"),
    Row(56, 4, kLog, "dip", "MILALLINVPROP"),
    Row(57, 1, kLog, "dip", "MILALLINVACCEPT"),
    Row(58, 0, kLog, "dip", "MILALLINVREJECT"),
    Row(59, 4, kLog, "dip", "MILALLJOINPROP"),
    Row(60, 0, kBox, "dip", "MILALLBAN"),
    Row(61, 4, kLog, "dip", "CALLALLIES"),
    Row(62, 4, kLog, "dip", "MILALLHONORWISH"),
    Row(63, 4, kLog, "dip", "WPINVITPROP"),
    Row(64, 0, kLog, "dip", "WPINVITACCEPT"),
    Row(65, 0, kLog, "dip", "WPINVITREJECT"),
    Row(66, 1, kLog, "dip", "VASALLACCEPT"),
    Row(67, 1, kLog, "dip", "VASALLREJECT"),
    Row(68, 1, kLog, "dip", "ANNEXACCEPT"),
    Row(69, 1, kLog, "dip", "ANNEXREJECT"),
    Row(70, 0, kLog, "dip", "MILALLEXPIRY"),
    Row(71, 0, kLog, "dip", "DYNALLEXPIRY"),
    Row(72, 0, kLog, "dip", "DECLWAROTHERALLY"),
    Row(73, 0, kLog, "dip", "PEACEACCEPTOTHERALLY"),
    Row(74, 1, kOff, "dip", "ANNEXACCEPTOTHER"),
    Row(75, 1, kOff, "dip", "VASALLACCEPTOTHER"),
    Row(76, 0, kOff, "dip", "MILLALLJOINREJECTOTHER"),
    Row(77, 0, kOff, "dip", "MILALLLEAVE"),
    Row(78, 1, kOff, "dip", "MILLALLINVACCEPTOTHER"),
    Row(79, 1, kOff, "dip", "MILALLJOINACCEPTOTHER"),
    Row(80, 1, kOff, "dip", "MILALLBANOTHER"),
    Row(81, 1, kOff, "dip", "MILLALLINVDECLINEOTHER"),
    Row(82, 1, kOff, "dip", "MILALLDISHONOROTHER"),
    Row(83, 1, kOff, "dip", "ROYMARACCEPTOTHER"),
    Row(84, 1, kLog, "dip", "DECLWAROTHER"),
    Row(85, 1, kLog, "dip", "PEACEACCEPTOTHER"),
    Row(86, 1, kLog, "dip", "JOINWAROTHER"),
    Row(87, 4, kLog, "dip", "SHAREEXPLORE"),
    Row(88, 0, kLog, "dip", "MILALLDISHONOR"),
    Row(89, 0, kLog, "dip", "WEMILALLDISHONOR"),
    Row(90, 0, kLog, "dip", "MILALLBREAK"),
    Row(91, 0, kLog, "dip", "ROYMARBREAK"),
    Row(92, 0, kLog, "dip", "VASALLBREAK"),
    Row(93, 0, kBox, "dip", "DECLSHAREXPLO"),
    Row(94, 0, kBox, "dip", "ACCPSHAREXPLO"),
    Row(95, 0, kBox, "dip", "RELCHANGE"),
    Row(96, 0, kBox, "dip", "WHITEPEACEUS"),
    Row(97, 0, kBox, "dip", "WHITEPEACEOTHER"),
    Row(98, 0, kBox, "dip", "NEWNATION"),
    Row(99, 0, kBox, "dip", "EMPEROR"),
    Row(100, 0, kBox, "dip", "BROKENUS"),
    Row(101, 0, kBox, "dip", "BROKENOTHER"),
    Row(102, 0, kBox, "dip", "CWARUS"),
    Row(103, 0, kBox, "dip", "CWAROTHER"),
    Row(104, 0, kLog, "mil", "LEADERDIES"),
    Row(105, 1, kLog, "mil", "LEADERNEW"),
    Row(106, 1, kLog, "mil", "PROVOWNOCC"),
    Row(107, 1, kLog, "mil", "LBLOSS"),
    Row(108, 1, kLog, "mil", "LBWIN"),
    Row(109, 1, kLog, "mil", "NBLOSS"),
    Row(110, 1, kLog, "mil", "NBWIN"),
    Row(111, 1, kLog, "mil", "SBWIN"),
    Row(112, 1, kLog, "mil", "LIBPROV"),
    Row(113, 1, kBox, "mil", "REVOLT"),
    Row(114, 1, kBox, "mil", "PIRATES"),
    Row(115, 1, kBox, "mil", "NATIVES"),
    Row(116, 1, kBox, "mil", "NATIVESKILL"),
    Row(117, 1, kBox, "mil", "COLONYDIE"),
    Row(118, 1, kBox, "mil", "TPOSTBURN"),
    Row(119, 1, kOff, "mil", "LIBPROVOTHERALLY"),
    Row(120, 1, kOff, "mil", "REVOLTOTHER"),
    Row(121, 1, kOff, "mil", "SBWINOTHER"),
    Row(122, 1, kOff, "mil", "LBWINOTHER"),
    Row(123, 1, kBox, "mil", "ARMYDESTROY"),
    Row(124, 1, kBox, "mil", "NAVYDESTROY"),
    Row(125, 1, kBox, "mil", "ARMYARRIVE"),
    Row(126, 1, kBox, "mil", "FLEETARRIVE"),
    Row(127, 1, kBox, "mil", "WESNCOM"),
    Row(128, 1, kBox, "mil", "THEYSNCOM"),
    Row(129, 1, kBox, "mil", "WESLCOM"),
    Row(130, 1, kBox, "mil", "THEYSLCOM"),
    Row(131, 1, kBox, "mil", "WESSIEGE"),
    Row(132, 1, kBox, "mil", "THEYSSIEGE"),
    Row(133, 0, kBox, "mon", "OTHERRELIGION"),
    Row(134, 0, kBox, "dip", "WERELIGION"),
    Row(135, 1, kLog, "col", "COLNEWSUCCESS"),
    Row(136, 1, kLog, "col", "COLEXPANDSUCCESS"),
    Row(137, 1, kLog, "col", "COLFAIL"),
    Row(138, 1, kLog, "col", "COLFAILBUSY"),
    Row(139, 1, kLog, "col", "TPNEWSUCCESS"),
    Row(140, 1, kLog, "col", "TPEXPANDSUCCESS"),
    Row(141, 1, kLog, "col", "TPFAIL"),
    Row(142, 1, kLog, "col", "TPFAILEST"),
    Row(143, 1, kLog, "col", "TPFAILBUSY"),
    Row(144, 1, kOff, "col", "EXPLORE"),
    Row(145, 1, kOff, "col", "EXPLOREOTHER"),
    Row(146, 0, kBox, "mon", "PROMOTED"),
    Row(147, 0, kBox, "mon", "DEMOTED"),
    Row(148, 1, kBox, "col", "EXPLORESPEC"),
    Row(149, 0, kBox, "mil", "EXPLORESTEAL"),
    Row(150, 1, kBox, "col", "NEWCOUNTRY"),
}};

} // namespace

std::array<MessageTypeRecord, kMessageTypeCount> g_messageTypes = kDefaultMessageTypes;

namespace {

// The settings file keeps the player's choices of the table.
const bool g_messageSettingsRegistered = [] {
    g_messageSettings.apply = &ApplyMessageSettings;
    g_messageSettings.store = &StoreMessageSettings;
    return true;
}();

// An event popup pauses while it is open when its type's setting says so.
const bool g_eventPauseRegistered = [] {
    g_eventPauseHooks.typePauses = [](int32_t type) {
        return type >= 0 && type < kMessageTypeCount &&
               g_messageTypes[static_cast<size_t>(type)].pause != 0;
    };
    return true;
}();

} // namespace

void ApplyMessageSettings(const ConfigBlock& block) {
    for (size_t i = 0; i < g_messageTypes.size(); ++i) {
        g_messageTypes[i].display = block[ConfigOffset::kMessageDisplay + i];
        g_messageTypes[i].box = block[ConfigOffset::kMessageBox + i];
        g_messageTypes[i].pause = block[ConfigOffset::kMessagePause + i];
    }
}

void StoreMessageSettings(ConfigBlock& block) {
    for (size_t i = 0; i < g_messageTypes.size(); ++i) {
        block[ConfigOffset::kMessageDisplay + i] = g_messageTypes[i].display;
        block[ConfigOffset::kMessageBox + i] = g_messageTypes[i].box;
        block[ConfigOffset::kMessagePause + i] = g_messageTypes[i].pause;
    }
}

uint8_t IsMessageShownAsBox(int type) {
    if (type < 0 || type >= kMessageTypeCount)
        return 0;
    const MessageTypeRecord& record = g_messageTypes[static_cast<size_t>(type)];
    return record.displayKind == kAnswerBox ? record.box : 0;
}
