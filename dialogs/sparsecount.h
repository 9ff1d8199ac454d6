// The number typed into the "Sparse File" dialog.
#ifndef OROLITH_DIALOGS_SPARSECOUNT_H
#define OROLITH_DIALOGS_SPARSECOUNT_H

#include "dialogs/names.h"
#include <optional>
#include <string>

namespace orolith::ui {

// Read as a leading whole number: optional blanks and sign, then digits;
// what follows the digits is ignored ("25 heights" is 25) and text that
// does not start with a number is 0, which the sample generator refuses
// with its own message. Empty only when the number does not fit an int,
// where a plain conversion would wrap round to an arbitrary count.
std::optional<int> parseSparseCount(const std::string& text);

} // namespace orolith::ui

#endif
