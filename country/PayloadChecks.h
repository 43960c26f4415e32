#pragma once
// The checks of a country's handlers on the numbers a message carries: each
// figure is held to the range its field can take in a real game before it
// is stored, so that a peer's huge or broken figure never reaches the
// country's arithmetic.
#include <cfloat>
#include <cmath>
#include <cstdint>

#include "engine/CriticalError.h"

// The least and the most a figure of a message may be.
struct FigureRange {
    double least;
    double most;
};

// Money a message moves or names (gains and losses, gifts, loans, prices,
// investments): no treasury of a real game comes near a billion.
inline constexpr double kMostMoney = 1.0e9;
inline constexpr FigureRange kMoneyRange{-kMostMoney, kMostMoney};
// A sum paid or invested: not below 0.
inline constexpr FigureRange kPaymentRange{0.0, kMostMoney};
// The inflation a country holds: it falls a little below 0 between two
// years at most, and a long game with the whole budget in the treasury
// raises it by a few points.
inline constexpr FigureRange kInflationRange{-0.5, 10.0};
// A change of the inflation: no more than the inflation's whole range.
inline constexpr FigureRange kInflationChangeRange{-10.0, 10.0};
// The land and naval maintenance factors (1.0 is full maintenance).
inline constexpr FigureRange kMaintenanceRange{0.0, 1.0};
// A monarch's or minister's ADM, DIP and MIL: the byte a monarch is made of.
inline constexpr FigureRange kRulerValueRange{0.0, 255.0};
// The victory points of one message.
inline constexpr FigureRange kVictoryPointsRange{-1.0e6, 1.0e6};
// Any finite figure: for fields whose setter holds them to their own range
// (relations, peace-offer cash).
inline constexpr FigureRange kAnyFiniteFigure{-DBL_MAX, DBL_MAX};

// True for a finite figure within the range; otherwise a trace line names
// the message, the figure and the country, and the handler drops the
// message.
inline bool IsFigureWithin(double figure, FigureRange range, const char* what, uint32_t country) {
    if (std::isfinite(figure) && figure >= range.least && figure <= range.most)
        return true;
    DebugPrint("%s: figure %g out of range for country %u, dropped\n", what, figure, country);
    return false;
}

// The figure held to the range; not a number counts as 0.
inline double ClampFigure(double figure, FigureRange range) {
    if (std::isnan(figure))
        figure = 0.0;
    return figure < range.least ? range.least : (figure > range.most ? range.most : figure);
}
