#include "dialogs/sparsecount.h"

#include "dialogs/names.h"
#include <cctype>
#include <climits>

namespace orolith::ui {

std::optional<int> parseSparseCount(const std::string& text)
{
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    // Accumulate as a negative number: INT_MIN has no positive twin.
    long long value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        value = value * 10 - (text[i] - '0');
        if (value < INT_MIN)
            return std::nullopt;
    }
    if (!negative) {
        if (-value > INT_MAX)
            return std::nullopt;
        return static_cast<int>(-value);
    }
    return static_cast<int>(value);
}

} // namespace orolith::ui
