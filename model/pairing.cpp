#include "model/pairing.h"

#include "model/loadnotes.h"
#include "model/placement.h"

namespace orolith::model {

namespace {
constexpr const char* HOW_TO_ALIGN =
    "align it: give --align on the command line, or tick \"Align to the DEM's grid\" in the open dialog";
}

bool placedForComparison(const GridHeader& dem, const GridHeader& comp, const PairOptions& options, const GridIo& io,
                         ModelError& err)
{
    if (options.align || placementOf(dem, comp, io.reader) != Placement::differs)
        return true;
    err = {PLACEMENT, placementMessage(dem, comp, HOW_TO_ALIGN)};
    return false;
}

double heightsOntoDem(const GridHeader& dem, const GridHeader& comp, Alignment& a)
{
    const double factor = heightUnitFactor(dem, comp, a.heightUnit);
    const std::string& demDatum = dem.crs.verticalDatum;
    const std::string& compDatum = comp.crs.verticalDatum;
    if (!demDatum.empty() && !compDatum.empty() && demDatum != compDatum)
        a.datumNote = "the grids name different vertical datums (the DEM " + demDatum + ", the comparison " +
                      compDatum + "): their heights are compared as they are";
    return factor;
}

std::vector<std::string> unitAndDatumNotes(const Alignment& a)
{
    std::vector<std::string> notes;
    if (!a.heightUnit.empty())
        notes.push_back("Note: the comparison's heights were converted from " + a.heightUnit);
    if (!a.datumNote.empty())
        notes.push_back("Note: " + a.datumNote);
    return notes;
}

bool pairComparison(const GridHeader& dem, const GridView& demView, GridData&& comp, const PairOptions& options,
                    const GridIo& io, PairedComparison& out, ModelError& err)
{
    out = PairedComparison{};
    const Placement placement = placementOf(dem, comp.header, io.reader);
    if (placement == Placement::differs && !options.align) {
        err = {PLACEMENT, placementMessage(dem, comp.header, HOW_TO_ALIGN)};
        return false;
    }
    if (options.suggestKind)
        out.notes = comparisonNotes(comp, options.kind);
    const double factor = heightsOntoDem(dem, comp.header, out.alignment);
    if (factor != 1) {
        for (std::size_t i = 0; i < comp.heights.size(); ++i)
            if (comp.isPresent(i))
                comp.heights[i] = static_cast<float>(comp.heights[i] * factor);
        finishGrid(comp, GridRole::comparison);
    }
    std::vector<std::uint8_t> presence = comparisonPresence(comp, options.kind);
    if (placement == Placement::differs) {
        GridData aligned;
        if (!alignComparison(dem, demView, comp, presence, options.kind, options.method, io, aligned, out.alignment,
                             err))
            return false;
        comp = std::move(aligned);
        presence = comparisonPresence(comp, options.kind);
    }
    const Alignment& a = out.alignment;
    if (a.aligned) {
        Alignment only = a;
        only.heightUnit.clear();
        only.datumNote.clear();
        out.notes.push_back("Note: the comparison grid was " + alignmentText(only));
    }
    for (const std::string& note : unitAndDatumNotes(a))
        out.notes.push_back(note);
    out.grid = std::move(comp);
    out.presence = std::move(presence);
    return true;
}

} // namespace orolith::model
