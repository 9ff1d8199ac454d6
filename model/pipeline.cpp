// Loading: read the grids, check that they belong together, then run the
// analyses in the order their inputs require (the mesh before normals and
// colours, curvature before curvature differences, which read cArray, and
// elevation differences before curvature differences, so that the latter's
// colours are the ones in effect afterwards).
#include "model/mountain.h"

namespace {
bool sameSize() { return mt.getRows() == rd.getRows() && mt.getCols() == rd.getCols(); }

void analyse(int vertExag, bool withComparison)
{
    mt.convert_to_triangles(vertExag);
    mt.compute_normals();
    mt.compute_curve_color();
    if (withComparison) {
        mt.compute_elev_diff_color();
        mt.compute_curve_diff_color();
    }
}
}

int start(const std::string& demPath, int vertExag, const std::string& compPath,
          int /*fileKind*/, bool& ok, int numFiles)
{
    const std::string list[2] = {demPath, compPath};
    mt.readgridfile(list, 1);
    if (numFiles == 2) {
        multFiles = true;
        rd.readgridfile(list, 2);
        ok = sameSize();
    } else {
        multFiles = false;
        ok = true;
    }
    if (ok)
        analyse(vertExag, numFiles == 2);
    return 0;
}

void addFile(const std::string& compPath, int vertExag, bool& ok)
{
    multFiles = true;
    const std::string list[2] = {std::string(), compPath};
    rd.readgridfile(list, 2);
    ok = sameSize();
    if (ok)
        analyse(vertExag, true);
}
