#pragma once
// The texts of the popup dialogs: a dialog's whole text given as one string
// of pieces separated by ';', and the lists of country names such texts
// hold.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

constexpr size_t kDialogBlockCount = 8;
// The longest piece kept; a longer one is cut and ends in "...".
constexpr size_t kDialogPieceMax = 511;

struct DialogPieces {
    // The pieces for blocks 0 .. count - 1 (at most 7: the text after the
    // seventh ';' is dropped); blocks 3 and 5 in upper case.
    std::array<std::string, kDialogBlockCount> pieces;
    size_t count = 0;
};

DialogPieces SplitDialogText(std::string_view text);

// At most max characters: a longer text is cut to max - 3 and given "...";
// a text that fits is kept whole.
std::string CutWithEllipsis(std::string_view text, size_t max);

// Appends the names of the listed countries that exist and are neither a
// nor b, separated by ", ", the last two joined by the text of "INVAND".
// True when a or b is in the list.
bool FormatCountryList(std::string& out, const std::vector<int32_t>& countries, int32_t a,
                       int32_t b);
