// The renderer reads the model's names as its own: a DataSet, a GridView
// and a MeshFrame are what it draws.
#ifndef OROLITH_RENDER_NAMES_H
#define OROLITH_RENDER_NAMES_H

namespace orolith::model {
}

namespace orolith::render {
using namespace orolith::model;
} // namespace orolith::render

#endif
