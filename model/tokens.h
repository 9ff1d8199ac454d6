// Whitespace-separated tokens of a grid file held in memory, and the
// number parsing that reads them the way formatted stream input reads a
// well-formed number (an optional sign, decimal or exponent form).
#ifndef OROLITH_MODEL_TOKENS_H
#define OROLITH_MODEL_TOKENS_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace orolith::model {

inline bool isBlank(char ch) { return ch == ' ' || ch == '\n' || ch == '\r' || ch == '\t' || ch == '\v' || ch == '\f'; }

// Steps over blanks from pos; returns the offset of the next non-blank
// character (text.size() at the end).
inline std::size_t skipBlanks(std::string_view text, std::size_t pos)
{
    while (pos < text.size() && isBlank(text[pos]))
        ++pos;
    return pos;
}

// The common short decimal, "-1234.56", read from p up to the first blank
// or `end`: where it stopped, or nullptr when what it read is not one.
// When its digits make an integer that a float holds exactly (at most 2^24)
// and at most ten decimals follow the point, one float division of two
// exact numbers is correctly rounded, the same float from_chars gives
// (Clinger's fast path), at a fraction of its cost. Anything else is left
// to from_chars.
inline const char* readShortDecimal(const char* p, const char* end, float& value)
{
    const bool negative = p < end && *p == '-';
    p += negative;
    std::uint64_t digits = 0;
    int decimals = -1;
    int count = 0;
    for (; p < end; ++p) {
        unsigned d = static_cast<unsigned>(*p - '0');
        if (d <= 9) {
            if (++count > 18)
                return nullptr;
            digits = digits * 10 + d;
            decimals += decimals >= 0;
        } else if (*p == '.' && decimals < 0) {
            decimals = 0;
        } else if (isBlank(*p)) {
            break;
        } else {
            return nullptr;
        }
    }
    if (count == 0 || digits > (1u << 24) || decimals > 10)
        return nullptr;
    static constexpr float POWERS[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
    float v = static_cast<float>(digits);
    if (decimals > 0)
        v /= POWERS[decimals];
    value = negative ? -v : v;
    return p;
}

// The next token at or after pos (empty at the end of the text); pos
// moves past it.
std::string_view nextToken(std::string_view text, std::size_t& pos);

// Whole-token parses: false unless every character of the token belongs
// to the number and the value is finite and in range.
bool parseFloat(std::string_view token, float& value);
// parseFloat without its fast path for short decimals: every token through
// std::from_chars. The fuzzer checks the two agree.
bool parseFloatGeneral(std::string_view token, float& value);
bool parseInt(std::string_view token, int& value);
// The same rules in double precision, for coordinates and cell sizes.
bool parseDouble(std::string_view token, double& value);

// A token quoted for an error message, shortened when very long.
std::string quoted(std::string_view token);

} // namespace orolith::model

#endif
