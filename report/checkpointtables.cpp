#include "report/checkpointtables.h"

#include "report/names.h"

namespace orolith::report {

namespace {

std::vector<std::string> countCells(const CheckpointAssessment& a)
{
    return {std::to_string(a.report.all.count), std::to_string(a.outside), std::to_string(a.nextToAbsent)};
}

// "open, bare" or what an empty list stands for.
std::string namesOf(const std::vector<std::string>& names, const char* none)
{
    if (names.empty())
        return none;
    std::string out;
    for (const std::string& n : names)
        out += (out.empty() ? "" : ", ") + n;
    return out;
}

std::string orNone(std::size_t count, double v) { return count ? fixed3(v) : "n/a"; }

} // namespace

Table checkpointCountsTable(const CheckpointFacts& f)
{
    Table t;
    t.header = {"", "points"};
    if (f.shift)
        t.header.push_back("after the shift");
    const char* names[] = {"used", "skipped: outside the DEM", "skipped: next to absent cells"};
    const std::vector<std::string> before = countCells(f.before);
    const std::vector<std::string> after = f.shift ? countCells(f.after) : std::vector<std::string>{};
    std::vector<std::string> given{"given", std::to_string(f.given)};
    if (f.shift)
        given.push_back(std::to_string(f.given));
    t.rows.push_back(given);
    for (std::size_t k = 0; k < before.size(); ++k) {
        std::vector<std::string> row{names[k], before[k]};
        if (f.shift)
            row.push_back(after[k]);
        t.rows.push_back(row);
    }
    return t;
}

Table pointClassTable(const CheckpointAssessment& a)
{
    Table t;
    t.header = figuresHeader("class");
    for (const model::PointClassFigures& k : a.classes) {
        std::vector<std::string> row{k.pointClass.empty() ? "(no class)" : k.pointClass};
        for (const std::string& cell : figureCells(k.figures))
            row.push_back(cell);
        t.rows.push_back(row);
    }
    std::vector<std::string> all{"all"};
    for (const std::string& cell : figureCells(a.report.all))
        all.push_back(cell);
    t.rows.push_back(all);
    return t;
}

Table verticalAccuracyTable(const CheckpointAssessment& a, const CheckpointClasses& classes)
{
    Table t;
    t.header = {"", "classes", "count", "RMSEz", "1.96 x RMSEz", "95th percentile of |d|"};
    t.rows.push_back({"NVA", namesOf(classes.open, "all"), std::to_string(a.nva.count), orNone(a.nva.count, a.nva.rmse),
                      orNone(a.nva.count, a.nva.accuracy95), ""});
    t.rows.push_back({"VVA", namesOf(classes.vegetated, "none named"), std::to_string(a.vva.count), "", "",
                      orNone(a.vva.count, a.vva.p95)});
    return t;
}

} // namespace orolith::report
