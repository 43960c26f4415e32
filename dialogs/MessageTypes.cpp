#include "dialogs/MessageTypes.h"
