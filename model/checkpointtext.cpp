#include "model/checkpointtext.h"

#include <cstdio>

namespace orolith::model {

namespace {

std::string number3(double v)
{
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.3f", v);
    return buf;
}

std::string pointCount(std::size_t n) { return std::to_string(n) + (n == 1 ? " point" : " points"); }

} // namespace

std::string classListText(const std::vector<std::string>& names, const char* whenEmpty)
{
    if (names.empty())
        return whenEmpty;
    std::string out;
    for (const std::string& n : names)
        out += (out.empty() ? "" : ", ") + (n.empty() ? std::string("(no class)") : n);
    return out;
}

std::string checkpointText(const CheckpointAssessment& a, const CheckpointClasses& classes)
{
    std::string out = "checkpoints: " + std::to_string(a.fate.size()) + " given, " +
                      std::to_string(a.report.all.count) + " used, " + std::to_string(a.outside) +
                      " outside the DEM, " + std::to_string(a.nextToAbsent) + " next to absent cells\n";
    out += accuracyTable(a.report);
    // Points of no class make one class of no name: no table for that.
    const bool named = a.classes.size() > 1 || (a.classes.size() == 1 && !a.classes[0].pointClass.empty());
    if (named) {
        out += "\npoint class      count       mean        std       rmse        min        max     median"
               "       nmad       le90       le95\n";
        for (const PointClassFigures& c : a.classes)
            out += accuracyTableRow(c.pointClass.empty() ? "(no class)" : c.pointClass, c.figures);
    }
    out += "\nNVA (" + classListText(classes.open, "all classes") + "): " + pointCount(a.nva.count);
    if (a.nva.count)
        out += ", RMSEz " + number3(a.nva.rmse) + ", accuracy at 95 % (1.96 RMSEz) " + number3(a.nva.accuracy95);
    out += "\nVVA (" + classListText(classes.vegetated, "none") + "): " + pointCount(a.vva.count);
    if (a.vva.count)
        out += ", 95th percentile of |d| " + number3(a.vva.p95);
    return out + "\n";
}

std::string noCheckpointOnDemText(const CheckpointAssessment& a)
{
    return "No checkpoint lies on the DEM: " + std::to_string(a.outside) + " outside it, " +
           std::to_string(a.nextToAbsent) + " next to absent cells";
}

} // namespace orolith::model
