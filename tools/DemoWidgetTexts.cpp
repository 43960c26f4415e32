// The texts of the widgets: the message box's and the file browser's
// buttons and the word that joins the last two names of a list.
#include "tools/DemoWorld.h"

namespace {

const demo::DemoText kWidgetTexts[] = {
    {"OK", "OK"},
    {"CANCEL", "Cancel"},
    {"INVAND", " and "},
};

} // namespace
