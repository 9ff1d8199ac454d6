// --slope-classes: the classes' lower bounds in degrees, for every mode
// that reports accuracy per slope class.
#ifndef OROLITH_APP_SLOPEBOUNDS_H
#define OROLITH_APP_SLOPEBOUNDS_H

#include <string>
#include <vector>

namespace orolith::ui {

// "0,5,10,25,45": ascending, from 0 to 90; a last bound of 90 only closes
// the last class. Empty on success, else why not.
std::string parseSlopeBounds(const std::string& text, std::vector<double>& bounds);

} // namespace orolith::ui

#endif
