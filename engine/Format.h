#pragma once
// Formatting into a std::string.
//
// FormatText is printf for formats written in the code: the compiler checks
// the arguments against the format.
//
// FormatDataText is for formats that come from data (a text database entry
// such as "%s left the game"), which the compiler never sees. It accepts only
// %s %d %i %u %x %f %c and %%, each with optional flags, a width and a
// precision of up to three digits. Every conversion takes the next argument
// and must match its kind: %s a text, %f a number with a fraction, the others
// an integer. A conversion whose argument is missing prints nothing; an
// unknown or malformed conversion is written as it stands (and takes no
// argument), so is one whose argument is of the wrong kind (that argument is
// used up). Flags that mean nothing for a conversion are left out.
#include <cstdarg>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string FormatTextV(const char* format, va_list args) __attribute__((format(printf, 1, 0)));

// One argument of a data format.
class FormatArg {
public:
    enum class Kind { Integer, Real, Text };

    template <class T>
    requires std::is_integral_v<T> FormatArg(T value) : m_kind(Kind::Integer) {
        if constexpr (std::is_signed_v<T>) {
            m_integer = value;
        } else {
            m_unsigned = value;
            m_isUnsigned = true;
        }
    }
    FormatArg(double value) : m_kind(Kind::Real), m_real(value) {}
    // A null text prints as an empty one.
    FormatArg(const char* text) : m_kind(Kind::Text), m_text(text ? text : "") {}
    FormatArg(const std::string& text) : m_kind(Kind::Text), m_text(text) {}
    FormatArg(std::string_view text) : m_kind(Kind::Text), m_text(text) {}

    Kind GetKind() const { return m_kind; }
    // For %d and %i.
    int64_t AsSigned() const { return m_isUnsigned ? static_cast<int64_t>(m_unsigned) : m_integer; }
    // For %u and %x: a negative value that fits 32 bits prints as its 32-bit
    // pattern, as the game's 32-bit integers do.
    uint64_t AsUnsigned() const;
    double AsReal() const { return m_real; }
    std::string_view AsText() const { return m_text; }

private:
    Kind m_kind;
    int64_t m_integer = 0;
    uint64_t m_unsigned = 0;
    bool m_isUnsigned = false;
    double m_real = 0;
    std::string_view m_text;
};

std::string FormatDataText(std::string_view format, std::span<const FormatArg> args);
inline std::string FormatDataText(std::string_view format, std::initializer_list<FormatArg> args) {
    return FormatDataText(format, std::span<const FormatArg>(args.begin(), args.size()));
}
