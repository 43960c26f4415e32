#include "world/GameNotices.h"

#include <utility>

GameNoticeHooks g_gameNotices;

namespace {

void Post(int32_t type, uint32_t country, std::vector<NoticeArg> values, int32_t linkProvince,
          int32_t linkWindow) {
    if (!g_gameNotices.post)
        return;
    GameNotice notice;
    notice.type = type;
    notice.country = country;
    notice.values = std::move(values);
    notice.linkProvince = linkProvince;
    notice.linkWindow = linkWindow;
    g_gameNotices.post(notice);
}

} // namespace

void PostGameMessage0(int32_t type, uint32_t country) {
    Post(type, country, {}, -1, -1);
}

void PostGameMessage1(int32_t type, uint32_t country, NoticeArg name, NoticeArg a) {
    Post(type, country, {std::move(name), std::move(a)}, -1, -1);
}

void PostGameMessage2(int32_t type, uint32_t country, NoticeArg name, NoticeArg a, NoticeArg b) {
    Post(type, country, {std::move(name), std::move(a), std::move(b)}, -1, -1);
}

void PostGameMessage1At(int32_t type, uint32_t country, NoticeArg name, NoticeArg a, int32_t link) {
    Post(type, country, {std::move(name), std::move(a)}, link, -1);
}

void PostGameMessage2At(int32_t type, uint32_t country, NoticeArg name, NoticeArg a, NoticeArg b,
                        int32_t link) {
    Post(type, country, {std::move(name), std::move(a), std::move(b)}, link, -1);
}

void PostGameMessage3At(int32_t type, uint32_t country, NoticeArg name, NoticeArg a, NoticeArg b,
                        NoticeArg c, int32_t link) {
    Post(type, country, {std::move(name), std::move(a), std::move(b), std::move(c)}, link, -1);
}

void PostGameMessage4At(int32_t type, uint32_t country, NoticeArg name, NoticeArg a, NoticeArg b,
                        NoticeArg c, NoticeArg d, int32_t link) {
    Post(type, country, {std::move(name), std::move(a), std::move(b), std::move(c), std::move(d)},
         link, -1);
}

void PostGameMessageWith(int32_t type, uint32_t country, int32_t link) {
    Post(type, country, {}, -1, link);
}

void PostGameMessage1With(int32_t type, uint32_t country, NoticeArg name, NoticeArg a,
                          int32_t link) {
    Post(type, country, {std::move(name), std::move(a)}, -1, link);
}

void PostGameMessage2With(int32_t type, uint32_t country, NoticeArg name, NoticeArg a, NoticeArg b,
                          int32_t link) {
    Post(type, country, {std::move(name), std::move(a), std::move(b)}, -1, link);
}
