// The program's entry: everything happens in GameMain.
#include "frontend/shell/Shell.h"

int main() {
    return GameMain();
}
