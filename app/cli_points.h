// Checkpoints on the command line: the options that say how to read a
// point file and what to do with its points, shared by --metrics,
// --coregister and --accuracy-report when the comparison is a point file.
#ifndef OROLITH_APP_CLI_POINTS_H
#define OROLITH_APP_CLI_POINTS_H

#include <cstddef>
#include <string>
#include <vector>

#include "app/cli_run.h"
#include "dialogs/names.h"
#include "model/checkpoints.h"
#include "model/pointio.h"

namespace orolith::ui {

struct PointOptions {
    PointColumns columns;
    bool columnsGiven = false;
    std::string pointsCrs;
    CheckpointClasses classes;
    std::string residuals; // --residuals OUT.csv|OUT.gpkg
    // Whether any was given: they need a point file.
    bool any() const;
};

// Takes args[i] when it is one of --columns x,y,z[,class], --points-crs S,
// --open-classes A,B, --vegetated-classes A,B or --residuals OUT (i moves
// past its value). True when it was one; `error` then says what is wrong
// with its value, if anything.
bool takePointOption(const std::vector<const char*>& args, std::size_t& i, PointOptions& o, std::string& error);

// "x,y,z" or "x,y,z,class" into the columns; empty on success, else why not.
std::string parseColumns(const std::string& text, PointColumns& columns);

// The points of `path` in the system of `demWkt` (empty: as they are).
// False with the message; nothing printed, so that it may run beside the
// DEM's reading.
bool readCheckpointFile(const std::string& path, const std::string& demWkt, const PointOptions& o,
                        std::vector<Checkpoint>& points, std::string& error);

// Writes the used points' residuals to o.residuals when it was asked for.
// False after the message.
bool writeResidualsIfAsked(const CliRun& run, const PointOptions& o, const std::vector<Checkpoint>& points,
                           const CheckpointAssessment& a, const GridHeader& dem);

} // namespace orolith::ui

#endif
