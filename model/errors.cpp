#include "model/errors.h"

#include <cstdlib>
#include <iostream>

namespace {
std::ostream* consoleStream = &std::cout;
std::string lastNoticeText;
}

void notice(const std::string& message)
{
    lastNoticeText = message;
    std::cerr << message << std::endl;
}
const std::string& lastNotice() { return lastNoticeText; }
void clearNotice() { lastNoticeText.clear(); }

std::ostream& console() { return *consoleStream; }
void setConsole(std::ostream& out) { consoleStream = &out; }

std::string errorText(int code)
{
    switch (code) {
    case NOARGS: return "Usage: oroscan <DEM> <contour file>";
    case ARGS: return "Too many arguments on command line";
    case ARRAY1: return "Problem allocating first dimension of array";
    case ARRAY2: return "Problem allocating second dimension of array";
    case NO_TRI: return "Out of memory while allocating array for triangles";
    case DIV0: return "Divide by zero while computing RMSE!";
    case NROWS: return "'nrows' not found in input file";
    case NCOLS: return "'ncols' not found in input file";
    case SPARSE: return "Number of heights must be >= 100-\ntry again";
    default: return "Some kinda error!";
    }
}

std::string ModelError::text() const
{
    if (code == GRIDFILE || code == PLACEMENT)
        return detail;
    return detail.empty() ? errorText(code) : errorText(code) + "\n" + detail;
}

void error(int code) { error(ModelError{code, {}}); }

void error(const ModelError& e)
{
    console() << "ERROR: " << e.text() << '\n';
    if (e.code == SPARSE)
        return;
    console().flush();
    std::cout.flush();
    std::cerr.flush();
    std::exit(FATAL_STATUS);
}
