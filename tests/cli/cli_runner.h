// Runs the orolith executable as a child process: standard output and
// standard error captured apart, standard input from /dev/null or from a
// pipe that stays open and silent, and a time limit.
#ifndef OROLITH_TESTS_CLI_CLI_RUNNER_H
#define OROLITH_TESTS_CLI_CLI_RUNNER_H

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <iterator>
#include <ostream>
#include <regex>

#include <nlohmann/json.hpp>

#include "tests/model/grid_files.h"

struct Outcome {
    int status = -1; // exit status; -1 after a signal or the time limit
    bool timedOut = false;
    std::string out, err;
};

inline std::ostream& operator<<(std::ostream& s, const Outcome& r)
{
    return s << "\nexit status " << r.status << (r.timedOut ? ", timed out" : "") << "\n--- stdout ---\n"
             << r.out.substr(0, 2000) << "\n--- stderr ---\n"
             << r.err.substr(0, 2000);
}

inline std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

using OrderedJson = nlohmann::ordered_json;

// A run's standard output as JSON, its keys in the order written; null,
// and a failure of the calling test, when it is not JSON.
inline OrderedJson parsedJson(const std::string& text)
{
    OrderedJson j = OrderedJson::parse(text, nullptr, false);
    if (j.is_discarded()) {
        ADD_FAILURE() << "not JSON:\n" << text.substr(0, 2000);
        return nullptr;
    }
    return j;
}

// Each number, boolean and null of a JSON value in the order written, with
// the name of its key (an array's items take the array's name) and its
// value as JSON text; strings are left out.
inline void collectJsonPairs(const OrderedJson& j, const std::string& name,
                             std::vector<std::pair<std::string, std::string>>& out)
{
    if (j.is_structured()) {
        for (auto it = j.begin(); it != j.end(); ++it)
            collectJsonPairs(*it, j.is_object() ? it.key() : name, out);
    } else if (!j.is_string()) {
        out.emplace_back(name, j.dump());
    }
}

inline std::vector<std::pair<std::string, std::string>> jsonPairs(const std::string& json)
{
    std::vector<std::pair<std::string, std::string>> out;
    collectJsonPairs(parsedJson(json), "", out);
    return out;
}

inline std::string bundled(const std::string& name) { return std::string(OROLITH_DATA_DIR) + "/" + name; }

// Runs `exe`: the orolith executable, or a copy of it elsewhere.
inline Outcome runExecutable(const std::string& exe, std::vector<std::string> args, bool silentInput = false,
                             unsigned seconds = 60)
{
    ScratchDir dir;
    const std::string out = dir.path + "/out", err = dir.path + "/err";
    int input[2] = {-1, -1};
    if (silentInput && pipe(input) != 0)
        return {};
    args.insert(args.begin(), exe);
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    pid_t pid = fork();
    if (pid == 0) {
        signal(SIGALRM, SIG_DFL);
        alarm(seconds); // kept across exec: a run that hangs is ended by the alarm
        dup2(silentInput ? input[0] : open("/dev/null", O_RDONLY), 0);
        dup2(open(out.c_str(), O_WRONLY | O_CREAT, 0600), 1);
        dup2(open(err.c_str(), O_WRONLY | O_CREAT, 0600), 2);
        execv(argv[0], argv.data());
        _exit(127);
    }
    Outcome r;
    int status = 0;
    if (pid > 0 && waitpid(pid, &status, 0) == pid) {
        r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        r.timedOut = WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM;
    }
    if (silentInput) {
        close(input[0]);
        close(input[1]);
    }
    r.out = readFile(out);
    r.err = readFile(err);
    return r;
}

inline Outcome runOrolith(std::vector<std::string> args, bool silentInput = false, unsigned seconds = 60)
{
    return runExecutable(OROLITH_EXE, std::move(args), silentInput, seconds);
}

#endif
