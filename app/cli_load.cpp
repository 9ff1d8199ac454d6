#include "app/cli_load.h"

#include <string>
#include <vector>

#include "app/fatal.h"
#include "dialogs/names.h"

namespace orolith::ui {

std::optional<DataSet> loadForMode(const CliRun& run, const LoadRequest& request)
{
    Loaded loaded = loadDataSet(request, run.io, run.messages);
    if (loaded.status.result == LoadResult::failed)
        fatal(loaded.status.error);
    if (loaded.status.result == LoadResult::mismatch) {
        run.messages.notice(loaded.status.error.text());
        return std::nullopt;
    }
    for (const std::string& note : loaded.status.notes)
        run.messages.notice(note);
    return std::move(loaded.dataSet);
}

namespace {

// The notices of a computation, kept to be passed on after its result.
class HeldNotices : public Messages {
public:
    explicit HeldNotices(Messages& to) : to_(to) {}
    void line(const std::string& text) override { to_.line(text); }
    void notice(const std::string& text) override { held_.push_back(text); }
    void passOn()
    {
        for (const std::string& text : held_)
            to_.notice(text);
        held_.clear();
    }

private:
    Messages& to_;
    std::vector<std::string> held_;
};

} // namespace

bool listHeightClasses(DataSet& dataSet, std::ostream& listing, Messages& messages)
{
    // A note on the classes (points below 0 left out) follows the listing it
    // speaks of, where both streams are one terminal.
    HeldNotices held(messages);
    const bool done = dataSet.computeHeightClasses(held);
    if (done)
        listing << heightClassLines(dataSet.heightClasses()) << std::flush;
    held.passOn();
    return done;
}

} // namespace orolith::ui
