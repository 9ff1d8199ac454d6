// The help windows as a user opens them: Help > About shows the version
// `orolith --version` prints, Help > Help and every "?" of the tool panel
// show their whole text in a window on the screen, each "?" explains the
// controls of the section it stands in, and each window closes with its
// close box and with its "Close" button.
#include <FL/Fl_Group.H>

#include <array>
#include <cstdio>
#include <memory>

#include "dialogs/helpabout.h"
#include "dialogs/helptexts.h"
#include "dialogs/names.h"
#include "tests/gui/dialog_fixtures.h"

using namespace orolith::model;
using namespace orolith::render;
using namespace orolith::ui;

namespace gui_test {
namespace {

std::string versionPrinted()
{
    std::string out;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen("'" OROLITH_EXE "' --version", "r"), pclose);
    std::array<char, 64> buf;
    while (pipe && fgets(buf.data(), buf.size(), pipe.get()))
        out += buf.data();
    return out.rfind("orolith ", 0) == 0 ? out.substr(8, out.find('\n') - 8) : "(none: " + out + ")";
}

void expectOnScreen(Fl_Window* w, const std::string& what)
{
    EXPECT_TRUE(w->x() >= 0 && w->y() >= 0 && w->x() + w->w() <= Fl::w() && w->y() + w->h() <= Fl::h())
        << what << ": the window runs off the screen";
}

// Closes it with its "Close" button and checks it went.
void closeWithButton(Fl_Window* w, const std::string& title)
{
    click(childOf<Fl_Button>(w, "Close"));
    settle();
    EXPECT_EQ(shownWindow(title.c_str()), nullptr) << title << " stays after \"Close\"";
}

TEST_F(DialogTest, AboutAndHelpShowTheirWholeTextAndTheVersion)
{
    win().show();
    settle();
    choose("&Help/About");
    Fl_Window* a = shownWindow("About");
    ASSERT_NE(a, nullptr) << "no About window";
    const std::string text = fieldText(a);
    EXPECT_NE(text.find("Orolith"), std::string::npos) << text;
    EXPECT_NE(text.find("Version " + versionPrinted() + "\n"), std::string::npos)
        << "About and orolith --version disagree:\n"
        << text;
    expectTextFits(a, "About");
    expectOnScreen(a, "About");
    saveShot(a, "about");
    a->do_callback(); // its close box
    settle();
    EXPECT_EQ(shownWindow("About"), nullptr) << "About stays after its close box";

    choose("&Help/Help");
    Fl_Window* h = shownWindow("Help");
    ASSERT_NE(h, nullptr) << "no Help window";
    EXPECT_EQ(fieldText(h), helpText());
    expectTextFits(h, "Help");
    expectOnScreen(h, "Help");
    saveShot(h, "help");
    closeWithButton(h, "Help");
}

// The section frames of the panel (rounded frames) and their "?" buttons.
struct Section {
    Fl_Widget* frame;
    Fl_Button* help;
};
std::vector<Section> panelSections(Fl_Group* toolPanel)
{
    std::vector<Fl_Widget*> frames;
    std::vector<Fl_Button*> helps;
    for (int i = 0; i < toolPanel->children(); ++i) {
        Fl_Widget* c = toolPanel->child(i);
        if (c->box() == FL_ROUNDED_FRAME)
            frames.push_back(c);
        else if (c->label() && std::string(c->label()) == "?")
            helps.push_back(static_cast<Fl_Button*>(c));
    }
    std::vector<Section> out;
    for (Fl_Button* b : helps)
        for (Fl_Widget* f : frames)
            if (b->y() >= f->y() && b->y() < f->y() + f->h())
                out.push_back({f, b});
    return out;
}

TEST_F(DialogTest, EachQuestionMarkExplainsTheControlsOfItsOwnSection)
{
    Fl_Group* toolPanel = win().toolPanel();
    const std::vector<Section> sections = panelSections(toolPanel);
    ASSERT_EQ(sections.size(), 5u) << "not every section has its \"?\"";
    for (const Section& s : sections) {
        click(s.help);
        settle();
        Fl_Window* w = nullptr;
        for (Fl_Window* d : dialogWindows())
            if (std::string(d->label()).rfind("Help: ", 0) == 0)
                w = d;
        ASSERT_NE(w, nullptr) << "the \"?\" at y " << s.help->y() << " opened no help window";
        const std::string title = w->label(), text = fieldText(w);
        EXPECT_FALSE(text.empty()) << title << " is empty";
        // Every label and line of text inside the section's frame is named;
        // the section's title sits across the frame's top edge.
        std::string sectionName;
        for (int i = 0; i < toolPanel->children(); ++i) {
            Fl_Widget* c = toolPanel->child(i);
            const int middle = c->y() + c->h() / 2;
            const bool within = middle >= s.frame->y() && middle < s.frame->y() + s.frame->h() &&
                                c->x() >= s.frame->x() && c->x() < s.frame->x() + s.frame->w();
            if (!within || c == s.help)
                continue;
            std::string name = c->label() ? c->label() : "";
            if (auto* out = dynamic_cast<Fl_Output*>(c); out && !dynamic_cast<Fl_Value_Output*>(c))
                name = out->value(); // a section title or a line of text
            name.erase(name.find_last_not_of(' ') + 1);
            if (name.empty() || name[0] == '>')
                continue; // a legend's swatch
            if (c->y() < s.frame->y())
                sectionName = name;
            EXPECT_NE(text.find(name), std::string::npos) << title << " does not explain \"" << name << '"';
        }
        EXPECT_EQ(title, "Help: " + sectionName) << "the \"?\" of \"" << sectionName << "\" explains another section";
        EXPECT_EQ(text.rfind(sectionName + ":", 0), 0u) << title << " does not start with its section";
        expectTextFits(w, title.c_str());
        saveShot(w, "help_" + title.substr(6));
        closeWithButton(w, title);
    }
}

} // namespace
} // namespace gui_test
