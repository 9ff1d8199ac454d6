#include "app/fatal.h"

#include "dialogs/names.h"
#include <cstdlib>
#include <iostream>

namespace orolith::ui {

void fatal(const ModelError& e)
{
    std::cerr << "ERROR: " << e.text() << '\n';
    std::cerr.flush();
    // What a mode printed on standard output before the error stays there.
    std::cout.flush();
    std::exit(FATAL_STATUS);
}

} // namespace orolith::ui
