// Grid-file input: the header of the ESRI ASCII grid layout, then the
// heights. The whole file is read in one go and tokenised in memory, which
// keeps large DEMs fast; every value a formatted stream would accept on a
// well-formed file reads the same here.
#include <climits>
#include <fcntl.h>
#include <unistd.h>
#include <cstdio>
#include <memory>
#include <new>
#include <ostream>

#include "model/cellmath.h"
#include "model/mountain.h"
#include "model/tokens.h"

namespace {

// Opens a path of any length: one longer than the system's limit is
// opened one folder at a time.
FILE* openForReading(const std::string& path)
{
    if (path.size() < PATH_MAX)
        return std::fopen(path.c_str(), "rb");
    int dir = path[0] == '/' ? ::open("/", O_RDONLY | O_DIRECTORY) : ::open(".", O_RDONLY | O_DIRECTORY);
    std::size_t begin = 0;
    while (dir >= 0) {
        std::size_t slash = path.find('/', begin);
        std::string part = path.substr(begin, slash == std::string::npos ? std::string::npos : slash - begin);
        bool last = slash == std::string::npos;
        int next = part.empty() ? ::dup(dir) : ::openat(dir, part.c_str(), last ? O_RDONLY : O_RDONLY | O_DIRECTORY);
        ::close(dir);
        if (last) {
            FILE* f = next >= 0 ? ::fdopen(next, "rb") : nullptr;
            if (!f && next >= 0)
                ::close(next);
            return f;
        }
        dir = next;
        begin = slash + 1;
    }
    return nullptr;
}

bool readWholeFile(const std::string& path, std::string& text)
{
    std::unique_ptr<FILE, int (*)(FILE*)> file(openForReading(path), &std::fclose);
    if (!file)
        return false;
    char buffer[1 << 16];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
        text.append(buffer, got);
    return !std::ferror(file.get());
}

std::string inFile(const std::string& path) { return "file \"" + path + "\": "; }

// A header keyword and its value. Keywords must match exactly.
std::string_view expectKeyword(std::string_view text, std::size_t& pos, const char* keyword, int code)
{
    if (nextToken(text, pos) != keyword)
        error(code);
    return nextToken(text, pos);
}

float headerFloat(std::string_view token, const char* keyword, const std::string& path)
{
    float v;
    if (!parseFloat(token, v))
        fatal(inFile(path) + "the value of '" + keyword + "' is not a number: " + quoted(token));
    return v;
}

// Rows and columns must be positive whole numbers.
int headerCount(std::string_view token, const char* keyword, const std::string& path)
{
    int v;
    if (!parseInt(token, v) || v <= 0)
        fatal(inFile(path) + "'" + keyword + "' must be a positive whole number, not " + quoted(token));
    return v;
}

}

void mountain::readgridfile(const std::string names[], int index)
{
    const std::string& path = names[index - 1];
    std::string text;
    if (!readWholeFile(path, text))
        fatal("file \"" + path + "\" not found");

    std::size_t pos = 0;
    std::string_view view(text);
    std::string_view t;
    t = expectKeyword(view, pos, "ncols", NCOLS);
    int ncols = headerCount(t, "ncols", path);
    t = expectKeyword(view, pos, "nrows", NROWS);
    int nrows = headerCount(t, "nrows", path);
    t = expectKeyword(view, pos, "xllcorner", 100);
    float xll = headerFloat(t, "xllcorner", path);
    t = expectKeyword(view, pos, "yllcorner", 100);
    float yll = headerFloat(t, "yllcorner", path);
    t = expectKeyword(view, pos, "cellsize", 100);
    float cs = headerFloat(t, "cellsize", path);

    // The optional no-data line is recognised by its first character.
    float nd = 0.0f;
    pos = skipBlanks(view, pos);
    if (pos < view.size() && (view[pos] == 'n' || view[pos] == 'N')) {
        std::string_view word = nextToken(view, pos);
        nd = headerFloat(nextToken(view, pos), std::string(word).c_str(), path);
        pos = skipBlanks(view, pos);
    }

    // Both the mesh (2 triangles a cell) and gridsize() count in int.
    if (static_cast<long long>(nrows) * ncols > INT_MAX / 2)
        fatal(inFile(path) + "a grid of " + std::to_string(nrows) + " rows and " +
              std::to_string(ncols) + " columns is too large");

    rows = nrows;
    cols = ncols;
    xllcorner = xll;
    yllcorner = yll;
    cellsize = cs;
    nodata = nd;
    headerText = text.substr(0, pos);
    if (headerText.empty() || headerText.back() != '\n')
        headerText += '\n';

    if (index == 1)
        readgrid(text, pos, path);
    else
        readrawdata(text, pos, path);
}

void mountain::readgrid(const std::string& text, std::size_t pos, const std::string& path)
{
    console() << "Reading DEM data, " << rows << " rows and " << cols << " columns..." << std::endl;
    readHeightsInto(text, pos, path, true);
}

void mountain::readrawdata(const std::string& text, std::size_t pos, const std::string& path)
{
    console() << "Reading comparison data, " << rows << " rows and " << cols << " columns..." << std::endl;
    sparseData = true;
    readHeightsInto(text, pos, path, false);
}

void mountain::readHeightsInto(const std::string& text, std::size_t pos, const std::string& path, bool dem)
{
    std::string_view view(text);

    // Every height takes at least one character and one separator, so a
    // file too short for the header's size is known before allocating: find
    // the first cell it cannot fill and say so, rather than allocating a
    // grid the file could never hold.
    long long cells = static_cast<long long>(rows) * cols;
    bool fits = static_cast<long long>(view.size() - pos) >= 2 * cells - 1;

    float** heights = nullptr;
    if (fits)
        heights = allocate(rows, cols);

    bool found = false; // contour interval detected (comparison data)
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            std::string_view token = nextToken(view, pos);
            float v;
            if (token.empty()) {
                release(heights, heights ? rows : 0);
                fatal(inFile(path) + "the file ends before the height of row " + std::to_string(r) +
                      ", column " + std::to_string(c) + " (rows and columns count from 0)");
            }
            if (!parseFloat(token, v)) {
                release(heights, heights ? rows : 0);
                fatal(inFile(path) + "the height of row " + std::to_string(r) + ", column " +
                      std::to_string(c) + " is not a number: " + quoted(token) +
                      " (rows and columns count from 0)");
            }
            if (!heights)
                continue; // only looking for the first bad cell
            if (dem) {
                if (v == nodata)
                    v = 0.0f;
            } else if (!found) {
                // The interval is the first rise in integer part above the
                // first non-zero height.
                int level = truncToInt(v);
                if (getContourInt() == 0 && v != 0) {
                    setContourInt(level);
                } else if (level > getContourInt()) {
                    long long rise = static_cast<long long>(level) - getContourInt();
                    setContourInt(rise > INT_MAX ? INT_MAX : static_cast<int>(rise));
                    found = true;
                }
            }
            heights[r][c] = v;
            if (v > zmax)
                zmax = v;
            if (v < zmin)
                zmin = v;
        }
    }
    if (!heights) // unreachable: a file too short always fails above
        fatal(inFile(path) + "the file is too short for its header's rows and columns");
    release(grid, gridRows);
    grid = heights;
    gridRows = rows;
}

float** allocate(int rows, int cols)
{
    float** array = new (std::nothrow) float*[rows];
    if (!array)
        error(ARRAY1);
    for (int r = 0; r < rows; ++r) {
        array[r] = new (std::nothrow) float[cols];
        if (!array[r])
            error(ARRAY2);
    }
    return array;
}

void release(float** array, int rows)
{
    if (!array)
        return;
    for (int r = 0; r < rows; ++r)
        delete[] array[r];
    delete[] array;
}
