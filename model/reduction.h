// How the processes of a run combine what each found in its own rows. One
// process alone has nothing to combine: the base class leaves every value
// as it is. Under MPI (app/mpi) each call is one MPI_Allreduce, made by
// every process in the same order; values are combined exactly (counts
// and keys added or compared, and sums of which one process holds each
// entry and the others hold 0), so a result never depends on the number
// of processes.
#ifndef OROLITH_MODEL_REDUCTION_H
#define OROLITH_MODEL_REDUCTION_H

#include <cstddef>
#include <cstdint>
#include <string>

namespace orolith::model {

class Reduction {
public:
    virtual ~Reduction() = default;
    virtual int rank() const { return 0; }
    virtual int ranks() const { return 1; }
    // Threads a process works with: 0, as many as the cores, for a process
    // alone; under MPI the processes are laid out a core each.
    virtual int threadsPerProcess() const { return 0; }
    // Element by element over all processes, the result in every one.
    virtual void sum(std::uint64_t*, std::size_t) {}
    virtual void sum(double*, std::size_t) {}
    virtual void least(std::uint64_t*, std::size_t) {}
    virtual void greatest(std::uint64_t*, std::size_t) {}
    // Whether every process succeeded. When one did not, every process
    // gets `error` of the lowest-ranked one that failed.
    virtual bool allSucceeded(bool ok, std::string&) { return ok; }
};

} // namespace orolith::model

#endif
