// The Reduction of an MPI run: every call one MPI_Allreduce over
// MPI_COMM_WORLD, made by every process in the same order.
#ifndef OROLITH_APP_MPI_MPIREDUCTION_H
#define OROLITH_APP_MPI_MPIREDUCTION_H

#include "model/reduction.h"

namespace orolith::ui {

class MpiReduction : public model::Reduction {
public:
    MpiReduction();
    int rank() const override { return rank_; }
    int ranks() const override { return ranks_; }
    int threadsPerProcess() const override { return 1; }
    void sum(std::uint64_t* v, std::size_t n) override;
    void sum(double* v, std::size_t n) override;
    void least(std::uint64_t* v, std::size_t n) override;
    void greatest(std::uint64_t* v, std::size_t n) override;
    bool allSucceeded(bool ok, std::string& error) override;

private:
    int rank_ = 0, ranks_ = 1;
};

} // namespace orolith::ui

#endif
