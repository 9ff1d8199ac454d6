// --metrics and --coregister over two rasters on one grid, read a strip of
// rows at a time so that memory does not grow with the grids: the plain program's run
// over rasters, and every process's run under MPI (app/mpi), which differ
// only in their Reduction. The figures are those of the grids read whole.
#ifndef OROLITH_APP_CLI_STREAMED_H
#define OROLITH_APP_CLI_STREAMED_H

#include <climits>
#include <string>

#include "app/accuracyoptions.h"
#include "app/cli_run.h"
#include "model/messages.h"
#include "model/pairrows.h"
#include "model/reduction.h"
#include "model/rowblocks.h"

namespace orolith::ui {

// What streamedMetrics returns when the pair is not one it streams: a
// text grid, alignment, stable terrain or checkpoints asked for, no raster
// row reader. The caller then reads the grids whole.
constexpr int NOT_STREAMED = -100;

// Cells of a strip: a few tens of megabytes of both grids' rows.
constexpr long long STREAM_STRIP_CELLS = 1 << 22;

// Strips of that size, threads as the run's processes are laid out.
StreamPlan streamPlan(int cols, const Reduction& reduction);

// Prints what --metrics prints (text or JSON) and returns the exit
// status, or NOT_STREAMED: 1 when a process could not read its rows (the
// message names the file and the rows), FATAL_STATUS when a file cannot be
// opened at all.
int streamedMetrics(const CliRun& run, const AccuracyOptions& o, Reduction& reduction);

// The same for --coregister.
int streamedCoregistration(const CliRun& run, const AccuracyOptions& o, Reduction& reduction);

// Whether a streamed run says on standard error as each pass over the
// rows begins: from 100 million cells, where a pass takes seconds.
bool saysPasses(int rows, int cols);

// A line on standard error as each pass over a large grid's rows begins
// (a strip that does not follow the last one begins a pass): on billions
// of cells a pass takes minutes.
class PassLines : public PairRows {
public:
    PassLines(PairRows& rows, Messages& messages) : rows_(rows), messages_(messages) {}
    int rows() const override { return rows_.rows(); }
    int cols() const override { return rows_.cols(); }
    bool read(int first, int last, PairStrip& strip, std::string& error) override;

private:
    PairRows& rows_;
    Messages& messages_;
    int previous_ = INT_MAX, passes_ = 0;
};

// Why --align is not streamed, and what to do instead.
extern const char* const ALIGN_FIRST;

// Why --metrics with these options cannot be streamed, as a usage error;
// empty when it can, the files allowing.
std::string notStreamedWhy(const AccuracyOptions& o);

} // namespace orolith::ui

#endif
