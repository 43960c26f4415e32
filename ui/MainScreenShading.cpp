#include "ui/MainScreen.h"

// No map shading is drawn yet.
void CMainScreen::UpdateProvinceShading() {
    shadingNeeded = 0;
}
