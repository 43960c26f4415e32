#pragma once
// The player-lag dialog: shown while another player of a network game lags.
#include <cstdint>

class CPlayerLagDialog {
public:
    virtual ~CPlayerLagDialog() = default;
    // Builds the dialog's contents (once, after it is made).
    void Build();
    void SetVisible(bool show) { visible = show ? 1 : 0; }

    uint8_t built = 0;
    uint8_t visible = 0;
};

// The dialog while it is shown; null otherwise (the main loop only stops
// pointing to a hidden dialog).
extern CPlayerLagDialog* g_playerLagDialog;
