#include "model/memory.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <limits>
#include <string>

namespace orolith::model {

namespace {

// MemAvailable of /proc/meminfo: free memory plus what the kernel can
// reclaim without swapping.
std::size_t systemAvailable()
{
    std::ifstream in("/proc/meminfo");
    std::string key;
    std::size_t kb = 0;
    std::string unit;
    while (in >> key >> kb >> unit) {
        if (key == "MemAvailable:")
            return kb * 1024;
    }
    long pages = sysconf(_SC_AVPHYS_PAGES);
    long size = sysconf(_SC_PAGE_SIZE);
    return pages > 0 && size > 0 ? static_cast<std::size_t>(pages) * static_cast<std::size_t>(size)
                                 : std::numeric_limits<std::size_t>::max();
}

// What RLIMIT_AS leaves beside the address space already in use.
std::size_t addressSpaceLeft()
{
    rlimit limit{};
    if (getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return std::numeric_limits<std::size_t>::max();
    std::size_t used = 0;
    if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
        unsigned long pages = 0;
        if (std::fscanf(f, "%lu", &pages) == 1)
            used = pages * static_cast<std::size_t>(sysconf(_SC_PAGE_SIZE));
        std::fclose(f);
    }
    return limit.rlim_cur > used ? limit.rlim_cur - used : 0;
}

} // namespace

std::size_t availableMemory() { return std::min(systemAvailable(), addressSpaceLeft()); }

std::size_t megabytes(std::size_t bytes) { return (bytes + (1u << 20) - 1) >> 20; }

std::string memoryShortfall(std::size_t bytes)
{
    // Asking the system costs more than a small grid takes to read.
    if (bytes < (16u << 20))
        return {};
    std::size_t available = availableMemory();
    if (bytes <= available)
        return {};
    return "needs " + std::to_string(megabytes(bytes)) + " MB of memory, more than the " +
           std::to_string(available >> 20) + " MB available";
}

} // namespace orolith::model
