#pragma once
// The text keys of the player's notice of a changed relation: the action
// that changed it, the size of the change and the level it reached.
#include <cstdint>

// 25 "RELCH_A_SGIFT", 26 "RELCH_A_PGIFT", 27 "RELCH_A_INT", 28
// "RELCH_A_WARNING", 29 "RELCH_A_INSULT", any other "RELCH_A_EXCO".
const char* RelationActionText(uint32_t kind);
// "RELCH_DEC_5" below -101 up to "RELCH_INC_5" from 101.
const char* RelationChangeText(float delta);
// "RELCH_R_0" above 175 down to "RELCH_R_6" at -174 and below.
const char* RelationLevelText(float relation);
