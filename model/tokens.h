// Whitespace-separated tokens of a grid file held in memory, and the
// number parsing that reads them the way formatted stream input reads a
// well-formed number (an optional sign, decimal or exponent form).
#ifndef OROLITH_MODEL_TOKENS_H
#define OROLITH_MODEL_TOKENS_H

#include <cstddef>
#include <string>
#include <string_view>

inline bool isBlank(char ch)
{
    return ch == ' ' || ch == '\n' || ch == '\r' || ch == '\t' || ch == '\v' || ch == '\f';
}

// Steps over blanks from pos; returns the offset of the next non-blank
// character (text.size() at the end).
inline std::size_t skipBlanks(std::string_view text, std::size_t pos)
{
    while (pos < text.size() && isBlank(text[pos]))
        ++pos;
    return pos;
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

// A token quoted for an error message, shortened when very long.
std::string quoted(std::string_view token);

#endif
