#include "dialogs/messages/MessageLog.h"

CMessageLogWindow* g_messageLogWindow = nullptr;
