#pragma once
// The front end's shared shadow pictures, freed before a display mode
// change and at shutdown.

void FreeFrontEndShadows();
