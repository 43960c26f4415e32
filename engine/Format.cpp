#include "engine/Format.h"

#include <cstdio>

namespace {

constexpr int kMaxNumberDigits = 3; // width and precision: at most 999
// What ReadNumber answers instead of a number.
constexpr int kNoNumber = -1;      // no digits: no width, no precision
constexpr int kTooManyDigits = -2; // more than kMaxNumberDigits: no conversion

// Appends what a printf-style conversion directive gives for one value.
template <class T> void AppendFormatted(std::string& out, const std::string& directive, T value) {
    const int length = std::snprintf(nullptr, 0, directive.c_str(), value);
    if (length <= 0)
        return;
    const size_t at = out.size();
    out.resize(at + static_cast<size_t>(length) + 1);
    std::snprintf(out.data() + at, static_cast<size_t>(length) + 1, directive.c_str(), value);
    out.resize(at + static_cast<size_t>(length));
}

// A conversion of a data format, as read.
struct Conversion {
    std::string_view flags;
    int width = kNoNumber;
    int precision = kNoNumber;
    char type = 0;
};

// Reads up to kMaxNumberDigits digits at pos; kNoNumber when there are none,
// kTooManyDigits when there are too many (pos then stops at the first one too
// many).
int ReadNumber(std::string_view format, size_t& pos) {
    int value = kNoNumber;
    for (int digits = 0; pos < format.size() && format[pos] >= '0' && format[pos] <= '9';
         ++digits, ++pos) {
        if (digits == kMaxNumberDigits)
            return kTooManyDigits;
        value = (value < 0 ? 0 : value * 10) + (format[pos] - '0');
    }
    return value;
}

// Reads the conversion whose '%' is at start; answers false when it is not
// one this formatter accepts. end is set past what was read either way.
bool ReadConversion(std::string_view format, size_t start, Conversion& conversion, size_t& end) {
    size_t pos = start + 1;
    const size_t flagsStart = pos;
    while (pos < format.size() &&
           std::string_view("-+ #0").find(format[pos]) != std::string_view::npos)
        ++pos;
    conversion.flags = format.substr(flagsStart, pos - flagsStart);
    conversion.width = ReadNumber(format, pos);
    bool valid = conversion.width != kTooManyDigits;
    if (valid && pos < format.size() && format[pos] == '.') {
        ++pos;
        conversion.precision = ReadNumber(format, pos);
        if (conversion.precision == kNoNumber)
            conversion.precision = 0; // "%.f": precision 0
        valid = conversion.precision != kTooManyDigits;
    }
    if (!valid || pos >= format.size()) {
        end = pos;
        return false;
    }
    conversion.type = format[pos];
    end = pos + 1;
    return std::string_view("sdiuxfc").find(conversion.type) != std::string_view::npos;
}

FormatArg::Kind KindFor(char type) {
    switch (type) {
    case 's':
        return FormatArg::Kind::Text;
    case 'f':
        return FormatArg::Kind::Real;
    default:
        return FormatArg::Kind::Integer;
    }
}

// The printf directive of a numeric conversion, keeping only the flags that mean
// something for it, with the length modifier of the value passed.
std::string NumberSpec(const Conversion& conversion, std::string_view allowedFlags,
                       bool withPrecision, std::string_view lengthModifier) {
    std::string directive = "%";
    for (char flag : conversion.flags)
        if (allowedFlags.find(flag) != std::string_view::npos &&
            directive.find(flag) == std::string::npos)
            directive += flag;
    if (conversion.width >= 0)
        directive += std::to_string(conversion.width);
    if (withPrecision && conversion.precision >= 0) {
        directive += '.';
        directive += std::to_string(conversion.precision);
    }
    directive += lengthModifier;
    directive += conversion.type;
    return directive;
}

void AppendText(std::string& out, const Conversion& conversion, std::string_view text) {
    if (conversion.precision >= 0 && text.size() > static_cast<size_t>(conversion.precision))
        text = text.substr(0, static_cast<size_t>(conversion.precision));
    const size_t padding =
        conversion.width > 0 && text.size() < static_cast<size_t>(conversion.width)
            ? static_cast<size_t>(conversion.width) - text.size()
            : 0;
    const bool left = conversion.flags.find('-') != std::string_view::npos;
    if (!left)
        out.append(padding, ' ');
    out += text;
    if (left)
        out.append(padding, ' ');
}

void AppendConversion(std::string& out, const Conversion& conversion, const FormatArg& arg) {
    switch (conversion.type) {
    case 's':
        AppendText(out, conversion, arg.AsText());
        break;
    case 'd':
    case 'i':
        AppendFormatted(out, NumberSpec(conversion, "-+ 0", true, "ll"),
                        static_cast<long long>(arg.AsSigned()));
        break;
    case 'u':
        AppendFormatted(out, NumberSpec(conversion, "-0", true, "ll"),
                        static_cast<unsigned long long>(arg.AsUnsigned()));
        break;
    case 'x':
        AppendFormatted(out, NumberSpec(conversion, "-#0", true, "ll"),
                        static_cast<unsigned long long>(arg.AsUnsigned()));
        break;
    case 'f':
        AppendFormatted(out, NumberSpec(conversion, "-+ #0", true, ""), arg.AsReal());
        break;
    case 'c':
        AppendFormatted(out, NumberSpec(conversion, "-", false, ""),
                        static_cast<int>(static_cast<unsigned char>(arg.AsSigned())));
        break;
    }
}

} // namespace

std::string FormatTextV(const char* format, va_list args) {
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text;
    if (length > 0) {
        text.resize(static_cast<size_t>(length) + 1);
        std::vsnprintf(text.data(), text.size(), format, args);
        text.resize(static_cast<size_t>(length));
    }
    return text;
}

std::string FormatText(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text = FormatTextV(format, args);
    va_end(args);
    return text;
}

uint64_t FormatArg::AsUnsigned() const {
    if (m_isUnsigned)
        return m_unsigned;
    if (m_integer < 0 && m_integer >= INT32_MIN)
        return static_cast<uint32_t>(m_integer);
    return static_cast<uint64_t>(m_integer);
}

std::string FormatDataText(std::string_view format, std::span<const FormatArg> args) {
    std::string out;
    auto next = args.begin();
    size_t pos = 0;
    while (pos < format.size()) {
        const size_t percent = format.find('%', pos);
        out += format.substr(pos, percent == std::string_view::npos ? std::string_view::npos
                                                                    : percent - pos);
        if (percent == std::string_view::npos)
            break;
        if (percent + 1 < format.size() && format[percent + 1] == '%') {
            out += '%';
            pos = percent + 2;
            continue;
        }
        Conversion conversion;
        size_t end = percent;
        if (!ReadConversion(format, percent, conversion, end)) {
            out += format.substr(percent, end - percent);
            pos = end;
            continue;
        }
        pos = end;
        if (next == args.end())
            continue; // missing argument: nothing
        const FormatArg& arg = *next++;
        if (arg.GetKind() != KindFor(conversion.type))
            out += format.substr(percent, end - percent);
        else
            AppendConversion(out, conversion, arg);
    }
    return out;
}
