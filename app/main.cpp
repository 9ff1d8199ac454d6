// orolith: the viewer, or with an option one of the command-line modes.
#include <iostream>

#include "app/cli.h"

int main(int argc, char** argv)
{
    if (isCommandLineMode(argc, argv))
        return runCommandLine(argc, argv);
    // The viewer is not built yet: show what the program can do.
    std::cout << usageText();
    return 0;
}
