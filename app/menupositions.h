// Positions in the main menu's flat item array of the entries that the
// shell's callbacks check, uncheck, activate and deactivate. They live in a
// namespace of their own because the model's error code SPARSE and the
// viewer's steepness threshold SLOPE share two of these names.
#ifndef OROLITH_APP_MENUPOSITIONS_H
#define OROLITH_APP_MENUPOSITIONS_H

namespace menupos {

constexpr int SAVE_IMAGE = 6;   // "Save Image..."
constexpr int SAVE_PROFILE = 7; // "Save Profile..."
constexpr int TRI = 26;         // "Magnifier"
constexpr int LIGHT = 27;       // "Lighting"
constexpr int AXES = 28;        // "Axes"
constexpr int CONT = 29;        // "Contour/Ref. Data"
constexpr int SUN = 30;         // "Sun"
constexpr int COLORS = 31;      // "Height Colors"
constexpr int SLOPE = 32;       // "Slope Colors"
constexpr int TOOLS = 33;       // "Display/Hide Tools"
constexpr int HEIGHTS = 36;     // "Color Height Classes"
constexpr int CERR = 37;        // "Curvature Error"
constexpr int LERR = 38;        // "Local Difference Error"
constexpr int GRAPH = 42;       // "Graph"
constexpr int SPARSE = 43;      // "Make Sparse file"
constexpr int COREGISTER = 44;  // "Co-register..."

// Items in the table, counting every submenu end and the final end mark.
constexpr int MENU_SIZE = 54;

} // namespace menupos

#endif
