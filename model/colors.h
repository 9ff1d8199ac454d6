// Packed colours: R * 1000000 + G * 1000 + B, each component 0 to 255.
// The model stores class colours in this form; the viewer unpacks them.
#ifndef OROLITH_MODEL_COLORS_H
#define OROLITH_MODEL_COLORS_H

namespace orolith::model {

constexpr int TERRAIN = 102128102;     // 102, 128, 102
constexpr int TERRAINHIGH = 128128128; // 128, 128, 128
constexpr int LOW = 255255178;         // 255, 255, 178
constexpr int MEDIUM = 254204092;      // 254, 204,  92
constexpr int HIGH = 253141060;        // 253, 141,  60
constexpr int VERYHIGH = 227026028;    // 227,  26,  28

struct RGB8 {
    int r, g, b;
};

constexpr RGB8 unpackColor(int packed) { return {packed / 1000000, (packed % 1000000) / 1000, packed % 1000}; }

} // namespace orolith::model

#endif
