// Runs the exit probe as a real process and checks what each error path prints, where, and
// with which exit status, including the debugger commands read from standard input.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <string>

namespace {

const std::string kError = "Travik Runtime Error : ";
const std::string kMarker = "{{~~(null)~~}}\n\n";  // the marker line, then the empty stack trace
const int kFailed = 255;  // exit(-1) as the parent sees it

struct Outcome {
    std::string out;
    std::string err;
    int status = -1;  // the exit status, or 1000 + the signal that killed the probe
};

// One probe process with its three standard streams on pipes.
class Probe {
public:
    explicit Probe(const char* mode) {
        std::signal(SIGPIPE, SIG_IGN);  // the probe may exit before reading all we send
        int in[2], out[2], err[2];
        EXPECT_EQ(pipe2(in, O_CLOEXEC) | pipe2(out, O_CLOEXEC) | pipe2(err, O_CLOEXEC), 0);
        pid_ = fork();
        if (pid_ == 0) {
            dup2(in[0], STDIN_FILENO);
            dup2(out[1], STDOUT_FILENO);
            dup2(err[1], STDERR_FILENO);
            execl(EXIT_PROBE_PATH, EXIT_PROBE_PATH, mode, static_cast<char*>(nullptr));
            _exit(127);
        }
        close(in[0]);
        close(out[1]);
        close(err[1]);
        in_ = in[1];
        out_ = out[0];
        err_ = err[0];
    }
    ~Probe() {
        if (pid_ > 0) Finish();
    }

    void Send(const std::string& text) {
        EXPECT_EQ(write(in_, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    }

    // Reads standard output up to the next newline and returns that line (without it).
    std::string ReadLine() {
        size_t start = outcome_.out.size();
        char c;
        while (read(out_, &c, 1) == 1) {
            if (c == '\n') {
                std::string line = outcome_.out.substr(start);
                outcome_.out += c;
                return line;
            }
            outcome_.out += c;
        }
        return outcome_.out.substr(start);
    }

    // Closes standard input, collects both outputs to their end and waits for the exit.
    Outcome Finish() {
        if (in_ >= 0) close(in_);
        in_ = -1;
        pollfd fds[2] = {{out_, POLLIN, 0}, {err_, POLLIN, 0}};
        std::string* sinks[2] = {&outcome_.out, &outcome_.err};
        int open = 2;
        while (open > 0 && poll(fds, 2, -1) > 0) {
            for (int i = 0; i < 2; ++i) {
                if (fds[i].fd < 0 || !fds[i].revents) continue;
                char buffer[4096];
                ssize_t got = read(fds[i].fd, buffer, sizeof buffer);
                if (got > 0) {
                    sinks[i]->append(buffer, static_cast<size_t>(got));
                } else {
                    close(fds[i].fd);
                    fds[i].fd = -1;
                    --open;
                }
            }
        }
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
        outcome_.status = WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
        return outcome_;
    }

private:
    pid_t pid_ = -1;
    int in_ = -1, out_ = -1, err_ = -1;
    Outcome outcome_;
};

Outcome RunProbe(const char* mode, const std::string& input = "") {
    Probe probe(mode);
    probe.Send(input);
    return probe.Finish();
}

std::string Repeated(const std::string& text, int times) {
    std::string all;
    for (int i = 0; i < times; ++i) all += text;
    return all;
}

TEST(RuntimeExit, EmptyMessageEndsQuietlyWithSuccess) {
    Outcome run = RunProbe("empty");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "");
}

TEST(RuntimeExit, MessageMarkerAndFailureAtEndOfInput) {
    Outcome run = RunProbe("boom");
    EXPECT_EQ(run.status, kFailed);
    EXPECT_EQ(run.out, kError + "boom\n\n");
    EXPECT_EQ(run.err, kMarker);

    // Units above 255 reach the report as their low 8 bits, shown as those characters.
    Outcome wide = RunProbe("wide");
    EXPECT_EQ(wide.status, kFailed);
    EXPECT_EQ(wide.out, kError + "caf\xc3\xa9 A\xc2\xac\n\n");
}

TEST(RuntimeExit, FatalSignalsAreReportedAsRuntimeErrors) {
    EXPECT_EQ(RunProbe("segv").out, kError + "Memory access violation\n\n");
    EXPECT_EQ(RunProbe("fpe").out, kError + "Floating point exception\n\n");
    EXPECT_EQ(RunProbe("ill").out, kError + "Illegal instruction\n\n");
    Outcome other = RunProbe("usr1");
    EXPECT_EQ(other.out, kError + "Unknown signal\n\n");
    EXPECT_EQ(other.err, kMarker);
    EXPECT_EQ(other.status, kFailed);
}

TEST(RuntimeExit, OversizedResultsAreRuntimeErrors) {
    const struct {
        const char* mode;
        const char* message;
    } cases[] = {
        {"oversized-replace", "String too long"},
        {"oversized-concat", "String too long"},
        {"oversized-array", "Array too long"},
        {"oversized-split", "Array too long"},
    };
    for (const auto& c : cases) {
        Outcome run = RunProbe(c.mode);
        EXPECT_EQ(run.out, kError + c.message + "\n\n") << c.mode;
        EXPECT_EQ(run.err, kMarker) << c.mode;
        EXPECT_EQ(run.status, kFailed) << c.mode;
    }
}

TEST(DebuggerProtocol, ContinuingRepeatsTheReport) {
    Outcome run = RunProbe("boom", "r\ns\ne\nl\n");
    EXPECT_EQ(run.status, kFailed);
    EXPECT_EQ(run.out, Repeated(kError + "boom\n\n", 5));
    EXPECT_EQ(run.err, Repeated(kMarker, 5));

    Outcome fromSignal = RunProbe("fpe", "r\n");
    EXPECT_EQ(fromSignal.out, Repeated(kError + "Floating point exception\n\n", 2));
}

TEST(DebuggerProtocol, QuitIgnoreAndUnknownCommands) {
    Outcome quit = RunProbe("boom", "?\nq\n");
    EXPECT_EQ(quit.status, 0);
    EXPECT_EQ(quit.out, kError + "boom\n\n");
    EXPECT_EQ(quit.err, kMarker);

    Outcome ignored = RunProbe("boom", "?\n");
    EXPECT_EQ(ignored.status, kFailed);
    EXPECT_EQ(ignored.err, kMarker);

    Outcome unknown = RunProbe("boom", "xyz\nq\n");
    EXPECT_EQ(unknown.status, kFailed);
    EXPECT_EQ(unknown.out, kError + "boom\n\n????? xyz ?????");

    Outcome blank = RunProbe("boom", "\n");
    EXPECT_EQ(blank.status, kFailed);
    EXPECT_EQ(blank.out, kError + "boom\n\n?????  ?????");
}

TEST(DebuggerProtocol, IncompleteLinesEndTheProgram) {
    Outcome unterminated = RunProbe("boom", "q");
    EXPECT_EQ(unterminated.status, kFailed);
    EXPECT_EQ(unterminated.out, kError + "boom\n\n");

    // A line longer than the protocol allows is never taken for a command.
    Outcome overlong = RunProbe("boom", "r" + std::string(300, 'x') + "\nq\n");
    EXPECT_EQ(overlong.status, kFailed);
    EXPECT_EQ(overlong.out, kError + "boom\n\n");
}

TEST(DebuggerProtocol, AtCommandShowsOnlyLiveObjects) {
    Outcome null = RunProbe("boom", "@0x0\n");
    EXPECT_EQ(null.status, kFailed);
    EXPECT_EQ(null.err, kMarker + "\n");

    Outcome stray = RunProbe("boom", "@0x1234\n@nonsense\n@\nq\n");
    EXPECT_EQ(stray.status, 0);
    EXPECT_EQ(stray.err, kMarker + "\n\n\n");

    Probe probe("objects");
    std::string line = probe.ReadLine();
    char object[32] = "", array[32] = "";
    ASSERT_EQ(std::sscanf(line.c_str(), "Travik Runtime Error : objects %31s %31s", object, array), 2)
        << line;
    probe.Send("@" + std::string(object) + "\n@" + array + "\nq\n");
    Outcome run = probe.Finish();
    EXPECT_EQ(run.status, 0);
    // An object shows its debug text; an array is no Object and shows an empty line.
    EXPECT_EQ(run.err, kMarker + "+Object\n\n" + "\n");
}

TEST(DebuggerProtocol, DebugStopReturnsWhenToldToContinue) {
    Outcome resumed = RunProbe("stop", "?\nr\n");
    EXPECT_EQ(resumed.status, 0);
    EXPECT_EQ(resumed.out, "resumed\n");
    EXPECT_EQ(resumed.err, kMarker);

    Outcome ended = RunProbe("stop");
    EXPECT_EQ(ended.status, kFailed);
    EXPECT_EQ(ended.out, "");
}

}  // namespace
