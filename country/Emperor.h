#pragma once
// The election of a new emperor (the globals' seam electEmperor).
#include <cstdint>

// On the host: scores every existing catholic or counter-reformed elector,
// the highest score (country 3 when none scores) wins, and
// "_COVEVT_NEW_EMPEROR_" addressed to the winner is executed and sent; the
// winner is answered. On a client nothing is drawn or sent (0).
uint32_t ElectEmperor();
