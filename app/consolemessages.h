// The viewer's terminal: the model's progress lines on standard output,
// its notices on standard error (where a desktop user started the program
// from a terminal, they read them there), the last notice kept for a
// window that shows it.
#ifndef OROLITH_APP_CONSOLEMESSAGES_H
#define OROLITH_APP_CONSOLEMESSAGES_H

#include <iostream>
#include <string>

#include "dialogs/names.h"
#include "model/messages.h"

namespace orolith::ui {

class ConsoleMessages : public Messages {
public:
    void line(const std::string& text) override { std::cout << text << std::endl; }
    void notice(const std::string& text) override
    {
        last_ = text;
        std::cerr << text << std::endl;
    }
    const std::string& lastNotice() const { return last_; }
    void clearNotice() { last_.clear(); }

private:
    std::string last_;
};

} // namespace orolith::ui

#endif
