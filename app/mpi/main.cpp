// orolith-mpi: the accuracy figures of a DEM too large for one machine,
// under MPI. Every process reads its own run of row blocks from the
// rasters (GDAL, through the module beside the executable), the processes
// combine their counts, sums and histograms, and the first one prints
// what `orolith --metrics` prints for the same files, byte for byte.
//
//     mpirun -n 4 orolith-mpi --metrics --format json DEM.vrt REFERENCE.vrt
#include <mpi.h>

#include <iostream>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

#include "app/cli.h"
#include "app/cli_export.h"
#include "app/cli_metrics.h"
#include "app/cli_streamed.h"
#include "app/gdalondemand.h"
#include "app/mpi/mpireduction.h"

using namespace orolith::ui;

namespace {

// Where the output of every process but the first goes.
class Discard : public std::streambuf {
protected:
    int overflow(int c) override { return c; }
};

const char* const USAGE = "usage: mpirun -n N orolith-mpi --metrics [--format json|text] [--kind dem|sparse|contour]\n"
                          "                               [--slope-classes B1,B2,...] [--geographic] DEM COMPARISON\n"
                          "       mpirun -n N orolith-mpi --coregister [the options of --metrics] DEM COMPARISON\n"
                          "       mpirun -n N orolith-mpi --export curvature|elevdiff|curvediff|aligned [--kind K]\n"
                          "                               [--geographic] OUT.vrt DEM [COMPARISON]\n"
                          "\n"
                          "What orolith prints or writes for the same options, over rasters on one\n"
                          "grid (GeoTIFF, a VRT mosaic of tiles, any single-band raster GDAL reads),\n"
                          "each of the N processes reading its own blocks of rows. --metrics prints\n"
                          "the figures of orolith --metrics, byte for byte, whatever N; --export\n"
                          "writes OUT_0.tif ... OUT_<N-1>.tif, a run of rows each, and OUT.vrt\n"
                          "joining them.\n";

const char* const TEXT_GRID = "reads rasters through GDAL; an ESRI ASCII grid is read whole by orolith, or "
                              "converted first (gdal_translate GRID.asc GRID.tif)";

int refused(std::ostream& err, const std::string& why)
{
    err << "orolith-mpi: " << why << "\nTry 'orolith-mpi --help' for more information." << std::endl;
    return EXIT_USAGE;
}

int exportUnderMpi(const CliRun& cli, const std::vector<const char*>& args, MpiReduction& reduction)
{
    ExportRequest r;
    std::string why = parseExportRequest(args, r);
    if (why.empty() && r.options.align)
        why = ALIGN_FIRST;
    if (why.empty() && (r.out.size() < 4 || r.out.compare(r.out.size() - 4, 4, ".vrt") != 0))
        why = "the processes write a mosaic: the output of --export ends in .vrt";
    if (!why.empty())
        return refused(cli.err, why);
    const int status = streamedExport(cli, r, reduction);
    return status == NOT_STREAMED ? refused(cli.err, TEXT_GRID) : status;
}

int run(int argc, char** argv, MpiReduction& reduction, std::ostream& out, std::ostream& err)
{
    StreamMessages messages(err);
    const GridIo io = gdalOnDemandGridIo();
    const CliRun cli{out, err, messages, io};
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "--help") {
        out << USAGE;
        return 0;
    }
    if (mode == "--version") {
        out << "orolith-mpi " << OROLITH_VERSION << '\n';
        return 0;
    }
    if (!io.rows) {
        err << "orolith-mpi: GDAL's module (orolith-gdal.so) is missing beside the executable" << std::endl;
        return EXIT_MISMATCH;
    }
    if (mode == "--export")
        return exportUnderMpi(cli, std::vector<const char*>(argv + 2, argv + argc), reduction);
    if (mode != "--metrics" && mode != "--coregister") {
        err << "orolith-mpi: " << (mode.empty() ? "no mode given" : "unknown mode " + mode) << "\n" << USAGE;
        return EXIT_USAGE;
    }
    // Every process parses the same arguments alike: a bad option ends all
    // of them before any reads a row.
    std::vector<const char*> args(argv + 2, argv + argc);
    AccuracyOptions o;
    std::string why = parseAccuracyModeOptions(args, mode, o);
    if (why.empty())
        why = notStreamedWhy(o);
    if (!why.empty())
        return refused(err, why);
    const int status =
        mode == "--metrics" ? streamedMetrics(cli, o, reduction) : streamedCoregistration(cli, o, reduction);
    return status == NOT_STREAMED ? refused(err, TEXT_GRID) : status;
}

} // namespace

int main(int argc, char** argv)
{
    MPI_Init(&argc, &argv);
    int status = 0;
    {
        MpiReduction reduction;
        Discard discard;
        std::ostream quiet(&discard);
        const bool first = reduction.rank() == 0;
        status = run(argc, argv, reduction, first ? std::cout : quiet, first ? std::cerr : quiet);
        std::cout.flush();
    }
    MPI_Finalize();
    // FATAL_STATUS is -1, which the shell sees as 255.
    return status;
}
