#include "app/clipair.h"

#include <future>
#include <iostream>

#include "model/loadnotes.h"

bool readPair(const std::string& demPath, const std::string& compPath, const PairRequest& r, Pair& p)
{
    ModelError demErr, compErr;
    GridData comp;
    p.withComparison = !compPath.empty();
    auto compRead = std::async(std::launch::async, [&] {
        return !p.withComparison || readGridData(compPath, GridRole::comparison, comp, compErr, 2);
    });
    bool demOk = readGridData(demPath, GridRole::dem, p.dem, demErr, 2);
    bool compOk = compRead.get();
    if (!demOk)
        error(demErr);
    if (!compOk)
        error(compErr);
    if (r.geographic && !p.dem.header.crs.known)
        declareGeographic(p.dem.header);
    for (const std::string& note : loadNotes(p.dem.header, nullptr, r.kind))
        std::cerr << note << std::endl;
    if (!p.withComparison)
        return true;
    ModelError err;
    if (!pairComparison(p.dem.header, viewOf(p.dem), std::move(comp), {r.kind, r.align, r.method, true}, p.comp, err)) {
        std::cerr << (err.code == PLACEMENT ? "" : "ERROR: ") << err.text() << std::endl;
        return false;
    }
    for (const std::string& note : p.comp.notes)
        std::cerr << note << std::endl;
    return true;
}
