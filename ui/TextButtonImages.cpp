#include "ui/TextButtonImages.h"

// The text button pictures are not read yet.
bool LoadTextButtonImages() {
    return true;
}
void FreeTextButtonImages() {}
