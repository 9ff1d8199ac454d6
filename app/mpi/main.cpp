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

const char* const USAGE =
    "usage: mpirun -n N orolith-mpi --metrics [--format json|text] [--kind dem|sparse|contour]\n"
    "                               [--slope-classes B1,B2,...] [--geographic] DEM COMPARISON\n"
    "\n"
    "The accuracy figures of `orolith --metrics` over two rasters on one grid\n"
    "(GeoTIFF, a VRT mosaic of tiles, any single-band raster GDAL reads),\n"
    "each of the N processes reading its own blocks of rows. The output is\n"
    "that of orolith for the same files, whatever N.\n";

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
    if (mode != "--metrics") {
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
    if (!why.empty()) {
        err << "orolith-mpi: " << why << "\nTry 'orolith-mpi --help' for more information." << std::endl;
        return EXIT_USAGE;
    }
    if (!io.rows) {
        err << "orolith-mpi: GDAL's module (orolith-gdal.so) is missing beside the executable" << std::endl;
        return EXIT_MISMATCH;
    }
    const int status = streamedMetrics(cli, o, reduction);
    if (status == NOT_STREAMED) {
        err << "orolith-mpi: reads rasters through GDAL; an ESRI ASCII grid is read whole by orolith, or "
               "converted first (gdal_translate GRID.asc GRID.tif)"
            << std::endl;
        return EXIT_USAGE;
    }
    return status;
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
