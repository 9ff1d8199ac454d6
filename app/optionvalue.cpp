#include "app/optionvalue.h"
#include "dialogs/names.h"

namespace orolith::ui {

bool alignOption(const std::vector<const char*>& args, std::size_t& i, bool& align, AlignMethod& method,
                 std::string& error)
{
    const std::string arg = args[i];
    if (!isNamedOption(arg, "--align"))
        return false;
    align = true;
    if (arg.size() > 7) { // "--align=..."
        if (!alignMethodNamed(arg.substr(8), method))
            error = "--align takes bilinear, cubic or nearest, not \"" + arg.substr(8) + "\"";
        return true;
    }
    if (i + 1 < args.size() && alignMethodNamed(args[i + 1], method))
        ++i;
    return true;
}

} // namespace orolith::ui
