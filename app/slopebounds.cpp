#include "app/slopebounds.h"

#include <charconv>
#include <cmath>

namespace orolith::ui {

namespace {

bool parseNumber(const std::string& text, double& v)
{
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, v);
    return ec == std::errc() && ptr == end && std::isfinite(v);
}

} // namespace

std::string parseSlopeBounds(const std::string& text, std::vector<double>& bounds)
{
    bounds.clear();
    std::size_t begin = 0;
    for (;;) {
        std::size_t comma = text.find(',', begin);
        std::string item = text.substr(begin, comma == std::string::npos ? std::string::npos : comma - begin);
        double v;
        if (!parseNumber(item, v) || v < 0 || v > 90)
            return "--slope-classes takes degrees from 0 to 90 separated by commas, not \"" + item + "\"";
        if (!bounds.empty() && !(v > bounds.back()))
            return "--slope-classes needs ascending bounds";
        bounds.push_back(v);
        if (comma == std::string::npos)
            break;
        begin = comma + 1;
    }
    if (bounds.back() == 90)
        bounds.pop_back();
    if (bounds.empty())
        return "--slope-classes needs a bound below 90";
    if (bounds.size() > 90)
        return "--slope-classes takes at most 90 classes";
    return "";
}

} // namespace orolith::ui
