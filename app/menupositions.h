// Positions in the main menu's flat item array of the entries that the
// shell's callbacks check, uncheck, activate and deactivate. They live in a
// namespace of their own because the model's error code SPARSE and the
// viewer's steepness threshold SLOPE share two of these names.
#ifndef OROLITH_APP_MENUPOSITIONS_H
#define OROLITH_APP_MENUPOSITIONS_H

namespace menupos {

constexpr int TRI = 24;     // "Magnifier"
constexpr int LIGHT = 25;   // "Lighting"
constexpr int AXES = 26;    // "Axes"
constexpr int CONT = 27;    // "Contour\Ref. Data"
constexpr int SUN = 28;     // "Sun"
constexpr int COLORS = 29;  // "Height Colors"
constexpr int SLOPE = 30;   // "Slope Colors"
constexpr int HEIGHTS = 34; // "Color Height Classes"
constexpr int CERR = 35;    // "Curvature Error"
constexpr int LERR = 36;    // "Local Difference Error"
constexpr int GRAPH = 40;   // "Graph"
constexpr int SPARSE = 41;  // "Make Sparse file"

// Items in the table, counting every submenu end and the final end mark.
constexpr int MENU_SIZE = 51;

} // namespace menupos

#endif
