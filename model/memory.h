// How much memory a load may still take, so that a grid too large for this
// machine is refused with a message before its arrays are allocated rather
// than ending in std::bad_alloc or the out-of-memory killer.
#ifndef OROLITH_MODEL_MEMORY_H
#define OROLITH_MODEL_MEMORY_H

#include <cstddef>
#include <string>

namespace orolith::model {

// Bytes this process can still allocate: the smaller of the system's
// available memory and what the address-space limit leaves.
std::size_t availableMemory();

// Empty when `bytes` fit in the available memory; otherwise a phrase for a
// message, such as "needs 1600 MB of memory, more than the 900 MB available".
std::string memoryShortfall(std::size_t bytes);

// Whole megabytes, rounded up, for messages.
std::size_t megabytes(std::size_t bytes);

} // namespace orolith::model

#endif
