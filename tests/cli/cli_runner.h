// Runs the orolith executable as a child process with its standard output
// and standard error captured apart, its exit status kept, standard input
// from /dev/null (or from a pipe that stays open) and a time limit.
#ifndef OROLITH_TESTS_CLI_CLI_RUNNER_H
#define OROLITH_TESTS_CLI_CLI_RUNNER_H

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace cli_test {

struct RunResult {
    bool exited = false;  // ended by exit, not by a signal
    int status = -1;      // exit status when exited
    int signal = 0;       // signal number otherwise
    bool timedOut = false;
    std::string out, err;

    std::string describe() const
    {
        std::ostringstream s;
        if (timedOut)
            s << "timed out; ";
        if (exited)
            s << "exit status " << status;
        else
            s << "killed by signal " << signal;
        s << "\n--- stdout ---\n" << out.substr(0, 2000) << "\n--- stderr ---\n" << err.substr(0, 2000);
        return s.str();
    }
};

enum class Input { DevNull, OpenPipe };

inline std::string slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline std::string tempFile(const char* tag)
{
    std::string pattern = (std::filesystem::temp_directory_path() / (std::string("orolith-") + tag + "-XXXXXX")).string();
    int fd = mkstemp(pattern.data());
    if (fd >= 0)
        close(fd);
    return pattern;
}

inline RunResult runOrolith(const std::vector<std::string>& args, Input input = Input::DevNull,
                            double timeoutSeconds = 60)
{
    RunResult result;
    std::string outPath = tempFile("out"), errPath = tempFile("err");
    int pipeFds[2] = {-1, -1};
    if (input == Input::OpenPipe && pipe(pipeFds) != 0)
        return result;

    std::vector<std::string> argvStore;
    argvStore.push_back(OROLITH_EXE);
    argvStore.insert(argvStore.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : argvStore)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    pid_t pid = fork();
    if (pid == 0) {
        int in = input == Input::OpenPipe ? pipeFds[0] : open("/dev/null", O_RDONLY);
        int out = open(outPath.c_str(), O_WRONLY | O_TRUNC);
        int err = open(errPath.c_str(), O_WRONLY | O_TRUNC);
        if (in < 0 || out < 0 || err < 0)
            _exit(127);
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        if (pipeFds[1] >= 0)
            close(pipeFds[1]);
        execv(argv[0], argv.data());
        _exit(127);
    }
    if (pipeFds[0] >= 0)
        close(pipeFds[0]);

    int wstatus = 0;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    for (;;) {
        pid_t done = pid > 0 ? waitpid(pid, &wstatus, WNOHANG) : -1;
        if (done == pid || done < 0)
            break;
        if (std::chrono::steady_clock::now() > deadline) {
            result.timedOut = true;
            kill(pid, SIGKILL);
            waitpid(pid, &wstatus, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (pipeFds[1] >= 0)
        close(pipeFds[1]);

    if (pid > 0 && WIFEXITED(wstatus)) {
        result.exited = true;
        result.status = WEXITSTATUS(wstatus);
    } else if (pid > 0 && WIFSIGNALED(wstatus)) {
        result.signal = WTERMSIG(wstatus);
    }
    result.out = slurp(outPath);
    result.err = slurp(errPath);
    std::remove(outPath.c_str());
    std::remove(errPath.c_str());
    return result;
}

inline std::string testdata(const std::string& name) { return std::string(OROLITH_TESTDATA_DIR) + "/" + name; }
inline std::string bundled(const std::string& name) { return std::string(OROLITH_DATA_DIR) + "/" + name; }

inline std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

// A folder of its own for files the tests write, removed again.
class ScratchDir {
public:
    ScratchDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "orolith-cli-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr)
            dir_ = pattern;
    }
    ~ScratchDir()
    {
        std::error_code ignored;
        if (!dir_.empty())
            std::filesystem::remove_all(dir_, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    std::string write(const std::string& name, const std::string& contents) const
    {
        std::string file = dir_ + "/" + name;
        std::ofstream(file, std::ios::binary) << contents;
        return file;
    }
    const std::string& path() const { return dir_; }

private:
    std::string dir_;
};

} // namespace cli_test

#endif
