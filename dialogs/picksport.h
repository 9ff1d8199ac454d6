// What the Picks window asks of the program: the picks to show, and the
// changes a user asks for. The session answers.
#ifndef OROLITH_DIALOGS_PICKSPORT_H
#define OROLITH_DIALOGS_PICKSPORT_H

#include <cstddef>
#include <string>
#include <vector>

#include "dialogs/names.h"
#include "model/picks.h"

namespace orolith::ui {

class PicksPort {
public:
    virtual ~PicksPort() = default;
    virtual const std::vector<Pick>& picks() const = 0;
    // Map coordinates in degrees (a geographic DEM) rather than metres.
    virtual bool picksGeographic() const = 0;
    virtual void removePick(std::size_t index) = 0;
    virtual void clearPicks() = 0;
    // The profile along the pick's row (or its column), shown.
    virtual void profileThroughPick(std::size_t index, bool alongRow) = 0;
    // The window came up or went: the viewer's cross-hair goes with it.
    virtual void picksWindowShown(bool shown) = 0;
    // The name "Save..." offers first.
    virtual std::string proposedPicksPath() const = 0;
};

} // namespace orolith::ui

#endif
