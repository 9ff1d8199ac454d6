// Pi and the factors between degrees and radians. New code takes the
// double-precision ones. The short ones below them are each the value some
// figure was first computed with; a colour class, a view angle or a report
// line depends on their last digits, so they stay as they are, named for
// what they are.
#ifndef OROLITH_MODEL_CONSTANTS_H
#define OROLITH_MODEL_CONSTANTS_H

namespace orolith::model {

// Pi to double precision, and the degree factors derived from it: the
// accuracy metrics' slope classes and the ground spacing of geographic
// grids.
inline constexpr double PI_DOUBLE = 3.14159265358979323846;
inline constexpr double DEGREES_PER_RADIAN = 180.0 / PI_DOUBLE;
inline constexpr double RADIANS_PER_DEGREE = PI_DOUBLE / 180.0;

// Pi cut after eight decimals: the viewer turns its model about z with it
// (render/viewstate.h's PI), and the pictures keep their pixels.
inline constexpr double PI_3_14159265 = 3.14159265;

// 180 / 3.14159, pi cut after five decimals: the direction of the
// gradient in the surface's slope colours is converted with it, and the
// snap to 45 degrees decides ties on its last bits.
inline constexpr double DEGREES_PER_RADIAN_180_OVER_3_14159 = 180.0 / 3.14159;

// The same factor written out to eight decimals, 57.29582791, which is not
// the same double: the aspect classes of the surface's colours and the
// steepness test were defined with it (render/viewstate.h's DIVPI).
inline constexpr double DEGREES_PER_RADIAN_57_29582791 = 57.29582791;

} // namespace orolith::model

#endif
