// Where the model's words go. The model prints nothing: its progress lines
// ("Reading DEM data, ...", "Computing curvature") and its notices (a
// request refused, a note on a result) go to the Messages its caller
// hands it. The command line writes them to standard error, the viewer
// its progress lines to standard output and shows its notices.
#ifndef OROLITH_MODEL_MESSAGES_H
#define OROLITH_MODEL_MESSAGES_H

#include <ostream>
#include <string>

namespace orolith::model {

class Messages {
public:
    virtual ~Messages() = default;
    // A progress line, without its line break.
    virtual void line(const std::string& text) = 0;
    // A notice: what was refused and why, or a note on a result.
    virtual void notice(const std::string& text) = 0;
};

// Lines and notices to a stream, each on a line of its own; the last
// notice kept for a caller that shows it.
class StreamMessages : public Messages {
public:
    explicit StreamMessages(std::ostream& out) : out_(&out) {}
    void line(const std::string& text) override { *out_ << text << std::endl; }
    void notice(const std::string& text) override
    {
        last_ = text;
        *out_ << text << std::endl;
    }
    const std::string& lastNotice() const { return last_; }
    void clearNotice() { last_.clear(); }

private:
    std::ostream* out_;
    std::string last_;
};

// Words nobody reads.
class SilentMessages : public Messages {
public:
    void line(const std::string&) override {}
    void notice(const std::string&) override {}
};

} // namespace orolith::model

#endif
