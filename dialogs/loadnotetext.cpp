#include "dialogs/loadnotetext.h"
#include "dialogs/names.h"

namespace orolith::ui {

namespace {

void replace(std::string& text, const std::string& what, const std::string& with)
{
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
}

std::string inViewerWords(std::string note)
{
    if (note.rfind("Note: ", 0) == 0)
        note.erase(0, 6);
    replace(note, " or give --geographic", "");
    replace(note, "give --kind sparse (or contour)", "open it as a Sparse File (or Contour File)");
    return note;
}

} // namespace

std::string loadNotesMessage(const std::vector<std::string>& notes)
{
    std::string text;
    for (const std::string& note : notes) {
        if (note.empty())
            continue;
        if (!text.empty())
            text += "\n\n";
        text += inViewerWords(note);
    }
    return text;
}

} // namespace orolith::ui
