#include "platform/null/NullMessageBox.h"

#include <cstdio>
#include <cstdlib>
#include <strings.h>

namespace platform {

BoxAnswer NullMessageBox::operator()(const std::string& caption, const std::string& text) const {
    std::fprintf(stderr, "%s%s\n", caption.c_str(), text.c_str());
    std::fflush(stderr);
    const char* answer = std::getenv("ORVANDEL_BOX_ANSWER");
    if (answer && strcasecmp(answer, "abort") == 0)
        return BoxAnswer::Abort;
    if (answer && strcasecmp(answer, "retry") == 0)
        return BoxAnswer::Retry;
    return BoxAnswer::Ignore;
}

} // namespace platform
