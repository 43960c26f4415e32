#include "dialogs/frame/PlayerLagDialog.h"

CPlayerLagDialog* g_playerLagDialog = nullptr;

void CPlayerLagDialog::Build() {
    built = 1;
}
