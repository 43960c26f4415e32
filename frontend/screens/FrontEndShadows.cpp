#include "frontend/screens/FrontEndShadows.h"

// No shadow pictures are made yet.
void FreeFrontEndShadows() {}
