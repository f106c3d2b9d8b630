// Saving the state never loses it: not when a save is killed half-way, not in a folder the
// player may not write to, not through a symbolic link, and never without saying so.
#include "host/state_file.h"

#include <grp.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "host/files/state_file_fixture.h"

using namespace fixtures;

namespace {

const uid_t kNobody = 65534;

// What `run` writes on standard error.
std::string CaptureStderr(const std::function<void()>& run) {
    int fds[2];
    if (pipe(fds) != 0) return "(no pipe)";
    std::fflush(stderr);
    int saved = dup(2);
    dup2(fds[1], 2);
    close(fds[1]);
    run();
    std::fflush(stderr);
    dup2(saved, 2);
    close(saved);
    std::string text;
    ReadAll(fds[0], text);
    close(fds[0]);
    return text;
}

// Failures found by a check that may run in another process, one line each.
struct Findings {
    std::string text;
    void Expect(bool ok, const std::string& what) {
        if (!ok) text += what + "\n";
    }
};

// Runs `check` as a player for whom permission bits count, and returns what it found. Root
// ignores the bits, so as root the check runs in a child that has become "nobody" and owns
// everything in `dir`; as anyone else it runs right here.
std::string AsPlayer(const std::string& dir, const std::function<std::string()>& check) {
    if (geteuid() != 0) return check();
    lchown(dir.c_str(), kNobody, kNobody);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
        lchown(entry.path().c_str(), kNobody, kNobody);
    }
    int fds[2];
    if (pipe(fds) != 0) return "no pipe to the player process";
    pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        std::string found = setgroups(0, nullptr) == 0 && setgid(kNobody) == 0 &&
                                    setuid(kNobody) == 0
                                ? check()
                                : std::string("cannot become nobody\n");
        ssize_t ignored = write(fds[1], found.data(), found.size());
        (void)ignored;
        _exit(0);
    }
    close(fds[1]);
    std::string found;
    ReadAll(fds[0], found);
    close(fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) found += "the player process died\n";
    return found;
}

// Gives the folder's write permission back at the end, so it can be cleaned up.
class WritableAgain {
public:
    explicit WritableAgain(std::string dir) : dir_(std::move(dir)) {}
    ~WritableAgain() { chmod(dir_.c_str(), 0755); }

private:
    std::string dir_;
};

using StateFileSaves = StateFileTest;

}  // namespace

TEST_F(StateFileSaves, FollowPermissionsOfTheFileNotOfTheFolder) {
    const std::string refused =
        std::string("quarrox: cannot save ./.travikstate: ") + std::strerror(EACCES) + "\n";
    struct Case {
        const char* name;
        bool fileExists;
        mode_t fileMode;
        bool folderWritable;
        int result;
    };
    const Case cases[] = {
        {"writable file in a read-only folder", true, 0644, false, 0},
        {"read-only file", true, 0444, true, -1},
        {"read-only file in a read-only folder", true, 0444, false, -1},
        {"no file in a read-only folder", false, 0, false, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string folder = dir_ / c.name;
        ASSERT_TRUE(std::filesystem::create_directory(folder));
        ScopedCwd inside(folder);
        WritableAgain restore(folder);
        if (c.fileExists) Write(kStateName, "old|state|text", c.fileMode);
        if (!c.folderWritable) chmod(folder.c_str(), 0555);

        std::string found = AsPlayer(folder, [&] {
            Findings f;
            int result = 0;
            std::string message = CaptureStderr(
                [&] { result = SaveStateFile(String("a much longer new|state|text")); });
            f.Expect(result == c.result, "result " + std::to_string(result));
            if (c.result == 0) {
                f.Expect(message.empty(), "unexpected message: " + message);
                f.Expect(Content(kStateName) == "a much longer new|state|text",
                         "saved: " + Content(kStateName));
                // Rewritten in place, a shorter text must not leave the longer one's tail.
                f.Expect(SaveStateFile(String("short")) == 0, "second save failed");
                f.Expect(Content(kStateName) == "short", "second save: " + Content(kStateName));
            } else {
                f.Expect(message == refused, "message: " + message);
                f.Expect(FileExists(kStateName) == c.fileExists, "state file appeared or went");
                if (c.fileExists) {
                    f.Expect(Content(kStateName) == "old|state|text", "changed: " + Content(kStateName));
                    f.Expect(Mode(kStateName) == c.fileMode, "permissions changed");
                }
            }
            f.Expect(TempFiles(".").empty(), "a temporary file was left");
            return f.text;
        });
        EXPECT_EQ(found, "");
    }
}

TEST_F(StateFileSaves, KeepTheFilesPermissionBits) {
    mode_t previous = umask(022);
    Write(kStateName, "old", 0600);
    int result = SaveStateFile(String("new"));
    umask(previous);
    ASSERT_EQ(result, 0);
    EXPECT_EQ(Content(kStateName), "new");
    EXPECT_EQ(Mode(kStateName), 0600u);
}

TEST_F(StateFileSaves, WriteThroughSymbolicLinks) {
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::string>> links;  // link name, what it names
        std::string target;  // the file that ends up holding the state
        bool targetExists;
    };
    const std::string absolute = dir_ / "saves/absolute";
    const Case cases[] = {
        {"relative link", {{kStateName, "saves/real"}}, "saves/real", true},
        {"absolute link", {{kStateName, absolute}}, absolute, true},
        {"link to a link", {{kStateName, "saves/hop"}, {"saves/hop", "real"}}, "saves/real", true},
        {"link to a file not made yet", {{kStateName, "saves/later"}}, "saves/later", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(dir_ / "saves");
        std::filesystem::remove(kStateName);
        ASSERT_TRUE(std::filesystem::create_directory("saves"));
        if (c.targetExists) Write(c.target, "old", 0640);
        for (const auto& link : c.links) {
            ASSERT_EQ(symlink(link.second.c_str(), link.first.c_str()), 0);
        }

        ASSERT_EQ(SaveStateFile(String("new|state")), 0);
        for (const auto& link : c.links) {
            EXPECT_TRUE(std::filesystem::is_symlink(link.first)) << link.first;
            std::error_code notALink;
            EXPECT_EQ(std::filesystem::read_symlink(link.first, notALink).string(), link.second);
        }
        EXPECT_EQ(Content(c.target), "new|state");
        EXPECT_EQ(Units(LoadStateFile()), u"new|state");
        if (c.targetExists) {
            EXPECT_EQ(Mode(c.target), 0640u);
        }
        EXPECT_TRUE(TempFiles(".").empty());
        // Nothing beside the target but the links that were there.
        long expected = 1;
        for (const auto& link : c.links) expected += link.first.rfind("saves/", 0) == 0;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator("saves"),
                                std::filesystem::directory_iterator()),
                  expected);
    }
}

TEST_F(StateFileSaves, ReuseATemporaryFileLeftByAKilledSave) {
    const mode_t staleModes[] = {0644, 0444};
    for (mode_t mode : staleModes) {
        SCOPED_TRACE(mode);
        Write(kStateName, "old", 0644);
        Write(kTempName, "half a save from a killed run, longer than the new one", mode);
        ASSERT_EQ(SaveStateFile(String("new")), 0);
        EXPECT_EQ(Content(kStateName), "new");
        EXPECT_EQ(Mode(kStateName), 0644u);
        EXPECT_TRUE(TempFiles(".").empty());
    }
}

TEST_F(StateFileSaves, SurviveBeingKilledAtAnyMoment) {
    // Large texts of different lengths keep a save busy long enough for kills to land inside
    // its writing, where a file rewritten in place would be caught half old, half new.
    std::vector<std::string> texts;
    std::vector<String> states;
    for (int i = 0; i < 3; ++i) {
        texts.push_back(std::string(static_cast<size_t>(256 + 128 * i) * 1024, 'a' + i) + "|");
        states.push_back(String(texts.back().c_str()));
    }
    ASSERT_EQ(SaveStateFile(states[0]), 0);

    std::mt19937 random(1234);
    std::uniform_int_distribution<int> pauseMicros(0, 8000);
    const int kKills = 120;
    for (int k = 0; k < kKills; ++k) {
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (size_t i = static_cast<size_t>(k);; ++i) SaveStateFile(states[i % states.size()]);
        }
        usleep(static_cast<useconds_t>(pauseMicros(random)));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);

        std::string saved = Content(kStateName);
        ASSERT_TRUE(saved == texts[0] || saved == texts[1] || saved == texts[2])
            << "after kill " << k << " the state file holds " << saved.size() << " bytes";
        std::vector<std::string> temps = TempFiles(".");
        ASSERT_TRUE(temps.empty() || temps == std::vector<std::string>{kTempName})
            << "after kill " << k << ": " << temps.size() << " temporary files";
    }

    // The next save finishes what the killed ones left behind.
    ASSERT_EQ(SaveStateFile(states[1]), 0);
    EXPECT_EQ(Content(kStateName), texts[1]);
    EXPECT_TRUE(TempFiles(".").empty());
}
