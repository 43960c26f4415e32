#pragma once
// The shared pictures of the text buttons, loaded at start-up.

bool LoadTextButtonImages();
void FreeTextButtonImages();
