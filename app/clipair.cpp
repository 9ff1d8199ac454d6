#include "app/clipair.h"

#include <future>
#include <ostream>

#include "app/fatal.h"
#include "dialogs/names.h"
#include "model/loadnotes.h"

namespace orolith::ui {

bool readPair(const CliRun& run, const std::string& demPath, const std::string& compPath, const PairRequest& r, Pair& p,
              const std::function<void()>& meanwhile)
{
    auto besides = std::async(std::launch::async, [&] {
        if (meanwhile)
            meanwhile();
    });
    ModelError demErr, compErr;
    GridData comp;
    p.withComparison = !compPath.empty();
    auto compRead = std::async(std::launch::async, [&] {
        return !p.withComparison || readGridData(compPath, GridRole::comparison, comp, compErr, run.io, 2);
    });
    bool demOk = readGridData(demPath, GridRole::dem, p.dem, demErr, run.io, 2);
    bool compOk = compRead.get();
    besides.get();
    if (!demOk)
        fatal(demErr);
    if (!compOk)
        fatal(compErr);
    if (r.geographic && !p.dem.header.crs.known)
        declareGeographic(p.dem.header);
    for (const std::string& note : loadNotes(p.dem.header, nullptr, r.kind))
        run.messages.notice(note);
    if (!p.withComparison)
        return true;
    ModelError err;
    if (!pairComparison(p.dem.header, viewOf(p.dem), std::move(comp), {r.kind, r.align, r.method, true}, run.io, p.comp,
                        err)) {
        run.err << (err.code == PLACEMENT ? "" : "ERROR: ") << err.text() << std::endl;
        return false;
    }
    for (const std::string& note : p.comp.notes)
        run.messages.notice(note);
    return true;
}

} // namespace orolith::ui
