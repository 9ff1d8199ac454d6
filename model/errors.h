// The model's numbered error routine and its console.
#ifndef OROLITH_MODEL_ERRORS_H
#define OROLITH_MODEL_ERRORS_H

#include <iosfwd>
#include <string>

constexpr int NOARGS = 3;
constexpr int ARGS = 4;
constexpr int ARRAY1 = 5;
constexpr int ARRAY2 = 6;
constexpr int NO_TRI = 7;
constexpr int DIV0 = 8;
constexpr int NROWS = 9;
constexpr int NCOLS = 10;
constexpr int SPARSE = 11;
constexpr int CELLSIZE = 12;
constexpr int NOHEIGHT = 13;

// Exit status of every fatal model error.
constexpr int FATAL_STATUS = -1;

// The message printed after "ERROR: " for a code (without the newline).
std::string errorText(int code);

// Prints "ERROR: " and the code's message on the console and ends the
// program with FATAL_STATUS; SPARSE alone returns to the caller.
void error(int code);

// Fatal input error with a message of its own ("ERROR: " + message).
[[noreturn]] void fatal(const std::string& message);

// Where the model's progress lines and messages go: standard output by
// default; the command-line modes send them to standard error so that
// standard output carries only the result.
std::ostream& console();
void setConsole(std::ostream& out);

#endif
