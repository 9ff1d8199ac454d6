// Command-line options that take a value, written "--name value" or
// "--name=value".
#ifndef OROLITH_APP_OPTIONVALUE_H
#define OROLITH_APP_OPTIONVALUE_H

#include <cstddef>
#include <string>
#include <vector>

#include "dialogs/names.h"
#include "model/align.h"

namespace orolith::ui {

// Whether `arg` is an option (it starts with "--").
inline bool isOption(const char* arg) { return arg[0] == '-' && arg[1] == '-'; }

// Whether `arg` is the option `name` in either form.
inline bool isNamedOption(const std::string& arg, const std::string& name)
{
    return arg == name || arg.rfind(name + "=", 0) == 0;
}

// The value of the option args[i]: what follows its '=', or the next
// argument (i then moves onto it). False when neither is there.
inline bool optionValue(const std::vector<const char*>& args, std::size_t& i, std::string& value)
{
    const std::string arg = args[i];
    const std::size_t eq = arg.find('=');
    if (eq != std::string::npos) {
        value = arg.substr(eq + 1);
        return true;
    }
    if (i + 1 >= args.size())
        return false;
    value = args[++i];
    return true;
}

// The resampling of --align, which may stand alone ("--align"), take its
// method as the next argument ("--align cubic") or after '=' ("--align=cubic").
// True when args[i] is the option (i then moves past what it took); `error`
// is set when the method is unknown.
bool alignOption(const std::vector<const char*>& args, std::size_t& i, bool& align, AlignMethod& method,
                 std::string& error);

} // namespace orolith::ui

#endif
