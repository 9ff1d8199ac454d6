// The triangle mesh of the DEM, scaled into the viewer's unit cube: two
// triangles a cell, centred on the grid's middle, heights stretched by the
// vertical exaggeration. Only the frame is kept; a triangle is derived from
// the grid when something draws or asks for it.
#ifndef OROLITH_MODEL_MESH_H
#define OROLITH_MODEL_MESH_H

#include "model/cellmath.h"
#include "model/gridfile.h"
#include "model/gridview.h"

namespace orolith::model {

// The mesh's scaling: the longer of the ground extent and the relief spans
// 2 units.
struct MeshFrame {
    int rows = 0, cols = 0;
    float cellX = 0, cellY = 0; // ground distance between columns and between rows
    float scalefactor = 0, movex = 0, movey = 0, zmid = 0, zscale = 0;
    float zmin = 0, zmax = 0;
    float exaggeration = 1;

    int triangles() const { return rows > 1 && cols > 1 ? (rows - 1) * (2 * cols - 2) : 0; }
    bool usable() const { return triangles() > 0; }
    // Model coordinates; y is mirrored as the surface is drawn.
    float xOfCol(float c) const { return (c * cellX - movex) * scalefactor; }
    float yOfRow(float r) const { return (movey - r * cellY) * scalefactor; }
    float zOf(float h) const { return (h - zmid) * zscale; }
};

// The frame of a grid of heights between zmin and zmax, spaced as
// `spacing`, with vertical exaggeration e.
MeshFrame meshFrame(int rows, int cols, const GroundSpacing& spacing, float zmin, float zmax, int e);

// One mesh triangle: its vertices (as the mesh holds them, before the
// mirroring) and its unit normal.
struct Triangle {
    float x0, y0, z0;
    float x1, y1, z1;
    float x2, y2, z2;
    float nx, ny, nz;
};

// Triangle k: cell k / 2 (row-major over (rows - 1) x (cols - 1) cells),
// split along the diagonal (r, c + 1) - (r + 1, c); k even the first half.
Triangle meshTriangle(const MeshFrame& m, const GridView& dem, const GroundSpacing& spacing, int k);

} // namespace orolith::model

#endif
