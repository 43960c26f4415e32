#include "ui/widgets/DialogText.h"

#include <algorithm>

#include "country/Country.h"
#include "country/CountryTags.h"
#include "engine/TextDatabase.h"

namespace {

std::string UpperCase(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

} // namespace

std::string CutWithEllipsis(std::string_view text, size_t max) {
    if (text.size() <= max)
        return std::string(text);
    if (max < 3)
        return std::string(text.substr(0, max));
    return std::string(text.substr(0, max - 3)) + "...";
}

DialogPieces SplitDialogText(std::string_view text) {
    DialogPieces result;
    auto store = [&result](std::string_view piece) {
        std::string kept = CutWithEllipsis(piece, kDialogPieceMax);
        if (result.count == 3 || result.count == 5)
            kept = UpperCase(std::move(kept));
        result.pieces[result.count++] = std::move(kept);
    };
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(';', start);
        if (end == std::string_view::npos) {
            store(text.substr(start));
            return result;
        }
        store(text.substr(start, end - start));
        if (result.count == 7)
            return result; // the rest after the seventh ';' is dropped
        start = end + 1;
    }
}

bool FormatCountryList(std::string& out, const std::vector<int32_t>& countries, int32_t a,
                       int32_t b) {
    const bool excludedListed =
        std::find(countries.begin(), countries.end(), a) != countries.end() ||
        std::find(countries.begin(), countries.end(), b) != countries.end();
    std::vector<std::string> names;
    for (int32_t number : countries)
        if (number != a && number != b && CountryOfNumber(number))
            names.push_back(GetCountryDisplayName(static_cast<uint32_t>(number)));
    for (size_t i = 0; i < names.size(); ++i) {
        out += names[i];
        const size_t left = names.size() - 1 - i;
        if (left >= 2)
            out += ", ";
        else if (left == 1)
            out += g_textDatabase.GetText("INVAND");
    }
    return excludedListed;
}
