#include "model/tokens.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace orolith::model {

std::string_view nextToken(std::string_view text, std::size_t& pos)
{
    pos = skipBlanks(text, pos);
    std::size_t begin = pos;
    while (pos < text.size() && !isBlank(text[pos]))
        ++pos;
    return text.substr(begin, pos - begin);
}

namespace {
// from_chars takes no leading '+', which stream input accepts.
std::string_view withoutPlus(std::string_view token)
{
    if (token.size() > 1 && token[0] == '+' && token[1] != '-' && token[1] != '+')
        token.remove_prefix(1);
    return token;
}

bool startsLikeNumber(std::string_view token)
{
    // Stream input reads neither "inf" nor "nan" nor hexadecimal floats.
    std::size_t i = (!token.empty() && token[0] == '-') ? 1 : 0;
    if (i >= token.size())
        return false;
    char ch = token[i];
    if (ch == '.')
        return i + 1 < token.size() && token[i + 1] >= '0' && token[i + 1] <= '9';
    if (!(ch >= '0' && ch <= '9'))
        return false;
    return !(ch == '0' && i + 1 < token.size() && (token[i + 1] == 'x' || token[i + 1] == 'X'));
}

// A whole token that is a short decimal.
bool shortDecimal(std::string_view token, float& value)
{
    const char* end = token.data() + token.size();
    const char* stop = readShortDecimal(token.data(), end, value);
    return stop && stop == end;
}
} // namespace

bool parseFloat(std::string_view token, float& value)
{
    return shortDecimal(token, value) || parseFloatGeneral(token, value);
}

bool parseFloatGeneral(std::string_view token, float& value)
{
    token = withoutPlus(token);
    if (!startsLikeNumber(token))
        return false;
    float v = 0;
    auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), v);
    if (end != token.data() + token.size())
        return false;
    if (ec == std::errc::result_out_of_range) {
        // Stream input reads a value too small for a float as 0 (keeping
        // its sign) and refuses one too large; strtof tells the two apart.
        std::string copy(token);
        v = std::strtof(copy.c_str(), nullptr);
    } else if (ec != std::errc()) {
        return false;
    }
    if (!std::isfinite(v))
        return false;
    value = v;
    return true;
}

bool parseDouble(std::string_view token, double& value)
{
    token = withoutPlus(token);
    if (!startsLikeNumber(token))
        return false;
    double v = 0;
    auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), v);
    if (end != token.data() + token.size())
        return false;
    if (ec == std::errc::result_out_of_range) {
        std::string copy(token);
        v = std::strtod(copy.c_str(), nullptr);
    } else if (ec != std::errc()) {
        return false;
    }
    if (!std::isfinite(v))
        return false;
    value = v;
    return true;
}

bool parseInt(std::string_view token, int& value)
{
    token = withoutPlus(token);
    int v = 0;
    auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), v);
    if (ec != std::errc() || end != token.data() + token.size() || token.empty())
        return false;
    value = v;
    return true;
}

std::string quoted(std::string_view token)
{
    constexpr std::size_t LONGEST = 40;
    if (token.size() > LONGEST)
        return "\"" + std::string(token.substr(0, LONGEST)) + "...\"";
    return "\"" + std::string(token) + "\"";
}

} // namespace orolith::model
