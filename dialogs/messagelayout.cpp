#include "dialogs/messagelayout.h"

#include "dialogs/names.h"
#include <algorithm>

namespace orolith::ui {

MessageLayout messageLayout(int textW, int textH)
{
    const int margin = 20, buttonW = 50, buttonH = 20;
    MessageLayout m;
    m.w = std::max(200, textW + 2 * margin);
    const int textBoxH = std::max(20, textH);
    m.text = {margin, margin, m.w - 2 * margin, textBoxH};
    m.ok = {(m.w - buttonW) / 2, m.text.y + textBoxH + 10, buttonW, buttonH};
    m.h = std::max(100, m.ok.y + buttonH + 10);
    return m;
}

} // namespace orolith::ui
