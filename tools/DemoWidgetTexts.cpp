// The texts of the widgets: the message box's and the file browser's
// buttons, the browser's refusal of an over-long path and the word that
// joins the last two names of a list.
#include "tools/DemoWorld.h"

namespace {

const demo::DemoText kWidgetTexts[] = {
    {"OK", "OK"},
    {"CANCEL", "Cancel"},
    {"INVAND", " and "},
    {"FILEPATHTOOLONG", "That path is too long. Choose a shorter name or folder."},
};

} // namespace
