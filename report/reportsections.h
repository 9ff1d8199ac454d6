// The section titles and the notes under them, shared by the HTML page and
// the PDF so that both read alike.
#ifndef OROLITH_REPORT_REPORTSECTIONS_H
#define OROLITH_REPORT_REPORTSECTIONS_H

#include <string>

#include "report/accuracydocument.h"

namespace orolith::report {

constexpr const char* REPORT_TITLE = "DEM accuracy report";
constexpr const char* FILES_SECTION = "Files";
constexpr const char* SUMMARY_SECTION = "Summary";
constexpr const char* STABLE_SECTION = "Stable terrain";
constexpr const char* MAPS_SECTION = "Maps";
constexpr const char* VIEW_SECTION = "3-D view";
constexpr const char* DISTRIBUTION_SECTION = "Distribution of the differences";
constexpr const char* SLOPE_SECTION = "Per slope class";
constexpr const char* FIT_SECTION = "Co-registration fit";
constexpr const char* CHECKPOINTS_SECTION = "Checkpoints";
constexpr const char* POINT_SHIFT_SECTION = "Co-registration to the checkpoints";
constexpr const char* STATISTICS_SECTION = "Statistics report";

// "Made by Orolith 1.2 on 2026-12-07 14:03 in 2.4 s."
std::string madeByLine(const AccuracyDocument& doc);
// How the maps were made: the scale, and the block means of a large grid.
std::string mapsNote(const AccuracyDocument& doc);
std::string viewNote(const AccuracyDocument& doc);
// Which points the histograms and the curve come from.
std::string distributionNote(const AccuracyDocument& doc);
std::string slopeNote(const AccuracyDocument& doc);
std::string fitNote(const AccuracyDocument& doc);
// What the stable-terrain rules did to the grid's figures.
std::string stableNote(const AccuracyDocument& doc);
// How the checkpoints were assessed, and what their pictures show.
std::string checkpointsNote(const CheckpointFacts& f);
std::string checkpointPicturesNote(const CheckpointFacts& f, const std::string& unit);
std::string pointShiftNote(const CheckpointFacts& f, std::size_t fitSample);

// The captions over the checkpoints' tables.
constexpr const char* POINT_SLOPE_CAPTION = "Per slope class:";
constexpr const char* POINT_CLASS_CAPTION = "Per point class:";
constexpr const char* VERTICAL_ACCURACY_CAPTION =
    "Non-vegetated vertical accuracy (NVA) over the open classes, vegetated vertical accuracy (VVA) over the "
    "vegetated classes:";

} // namespace orolith::report

#endif
