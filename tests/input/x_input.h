// Real X input for the tests of this folder: child processes (xdotool,
// import, the orolith executable) started while this program's event loop
// goes on, on the private X server test_realinput.cpp starts for the whole
// program (DISPLAY points at it).
#ifndef OROLITH_TESTS_INPUT_X_INPUT_H
#define OROLITH_TESTS_INPUT_X_INPUT_H

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <FL/Fl.H>
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "dialogs/names.h"
#include <FL/Fl_Window.H>

using namespace orolith::model;
using namespace orolith::render;
using namespace orolith::ui;

extern char** environ;

namespace gui_test {

inline pid_t spawn(const std::vector<const char*>& args, posix_spawn_file_actions_t* actions = nullptr)
{
    std::vector<char*> argv;
    for (const char* a : args)
        argv.push_back(const_cast<char*>(a));
    argv.push_back(nullptr);
    pid_t pid = -1;
    return posix_spawnp(&pid, argv[0], actions, nullptr, argv.data(), environ) == 0 ? pid : -1;
}

// Keeps the event loop running for `seconds`.
inline void runLoop(double seconds)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end)
        Fl::wait(0.02);
}

// Runs a shell command (xdotool, import) while the event loop goes on, then
// lets the loop handle what it caused.
inline void drive(const std::string& command)
{
    const pid_t child = spawn({"sh", "-c", command.c_str()});
    ASSERT_GT(child, 0) << command;
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0)
        Fl::wait(0.02);
    runLoop(0.3);
}

// Window pixel (x, y) of a window on the screen.
inline std::string at(const Fl_Window& w, int x, int y)
{
    return " " + std::to_string(w.x() + x) + " " + std::to_string(w.y() + y);
}

// Sends the window manager's close request (WM_DELETE_WINDOW) to an X
// window, as its close box would (x11close.cpp).
bool askWindowToClose(unsigned long window);

} // namespace gui_test

#endif
