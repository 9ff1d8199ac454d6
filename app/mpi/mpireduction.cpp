#include "app/mpi/mpireduction.h"

#include <mpi.h>

#include <algorithm>
#include <climits>
#include <vector>

namespace orolith::ui {

namespace {

// MPI counts are ints: a long array goes in parts.
template <class T>
void allReduce(T* v, std::size_t n, MPI_Datatype type, MPI_Op op)
{
    for (std::size_t done = 0; done < n;) {
        const int part = static_cast<int>(std::min<std::size_t>(n - done, INT_MAX / 2));
        MPI_Allreduce(MPI_IN_PLACE, v + done, part, type, op, MPI_COMM_WORLD);
        done += static_cast<std::size_t>(part);
    }
}

} // namespace

MpiReduction::MpiReduction()
{
    MPI_Comm_rank(MPI_COMM_WORLD, &rank_);
    MPI_Comm_size(MPI_COMM_WORLD, &ranks_);
}

void MpiReduction::sum(std::uint64_t* v, std::size_t n) { allReduce(v, n, MPI_UINT64_T, MPI_SUM); }
void MpiReduction::sum(double* v, std::size_t n) { allReduce(v, n, MPI_DOUBLE, MPI_SUM); }
void MpiReduction::least(std::uint64_t* v, std::size_t n) { allReduce(v, n, MPI_UINT64_T, MPI_MIN); }
void MpiReduction::greatest(std::uint64_t* v, std::size_t n) { allReduce(v, n, MPI_UINT64_T, MPI_MAX); }

bool MpiReduction::allSucceeded(bool ok, std::string& error)
{
    int firstFailed = ok ? ranks_ : rank_;
    MPI_Allreduce(MPI_IN_PLACE, &firstFailed, 1, MPI_INT, MPI_MIN, MPI_COMM_WORLD);
    if (firstFailed == ranks_)
        return true;
    // The failed process's message, to every process.
    int length = rank_ == firstFailed ? static_cast<int>(error.size()) : 0;
    MPI_Bcast(&length, 1, MPI_INT, firstFailed, MPI_COMM_WORLD);
    std::vector<char> text(error.begin(), error.end());
    text.resize(static_cast<std::size_t>(length));
    MPI_Bcast(text.data(), length, MPI_CHAR, firstFailed, MPI_COMM_WORLD);
    error.assign(text.begin(), text.end());
    return false;
}

} // namespace orolith::ui
