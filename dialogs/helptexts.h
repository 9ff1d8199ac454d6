// What the Help and About windows and the tool panel's "?" buttons say.
// Plain text, so a test can check that each section's help names the
// controls its section shows.
#ifndef OROLITH_DIALOGS_HELPTEXTS_H
#define OROLITH_DIALOGS_HELPTEXTS_H

#include "dialogs/names.h"
#include <string>

namespace orolith::ui {

// The tool panel's sections, each with its "?" button.
enum class PanelSection { display, curvatureError, localDifferenceError, profileView, heightClasses };

// The section's title as the panel shows it: "Display", "Curvature Error",
// "Local Difference Error", "Profile View", "Height Classes".
const char* sectionTitle(PanelSection section);

// What the section's controls do.
std::string sectionHelp(PanelSection section);

// Help > Help: what the program does, opening files and their formats, the
// mouse and keys, the analyses and the command line. Lines of at most 80
// characters, laid out for a fixed-width font (the key table's columns).
std::string helpText();

// Help > About: the program's name, what it is for and its version.
std::string aboutText(const std::string& version);

} // namespace orolith::ui

#endif
