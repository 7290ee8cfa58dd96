// SPDX-License-Identifier: GPL-3.0-or-later
// zentu-cli at a terminal: a pseudo-terminal stands in for the user, types keys and reads
// what the prompt shows. Each test keeps its history in a folder of its own.
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

constexpr const char* kUp = "\x1b[A";
constexpr const char* kLeft = "\x1b[D";
constexpr const char* kHome = "\x1b[H";
constexpr const char* kEnd = "\x1b[F";
constexpr const char* kCtrlC = "\x03";
constexpr const char* kCtrlD = "\x04";
constexpr const char* kCtrlR = "\x12";

// A fresh folder under the test's temporary folder.
std::string MakeFolder(const std::string& name) {
    const std::string path =
        testing::TempDir() + "zentu_term_" + std::to_string(getpid()) + "_" + name;
    std::system(("rm -rf '" + path + "'").c_str());
    mkdir(path.c_str(), 0700);
    return path;
}

Lines ReadLines(const std::string& path) {
    std::ifstream in(path);
    Lines lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// zentu-cli on the far side of a pseudo-terminal of 80 x 24.
class Terminal {
  public:
    // `environment`: "NAME=value" to set, "NAME" to unset.
    explicit Terminal(const Lines& environment) {
        winsize size{};
        size.ws_row = 24;
        size.ws_col = 80;
        pid_ = forkpty(&fd_, nullptr, nullptr, &size);
        if (pid_ == 0) {
            setenv("TERM", "xterm", 1);
            setenv("INPUTRC", "/dev/null", 1);
            setenv("LC_ALL", "C.UTF-8", 1);
            for (const std::string& e : environment) {
                const std::size_t eq = e.find('=');
                if (eq == std::string::npos)
                    unsetenv(e.c_str());
                else
                    setenv(e.substr(0, eq).c_str(), e.substr(eq + 1).c_str(), 1);
            }
            execl(ZENTU_CLI, ZENTU_CLI, static_cast<char*>(nullptr));
            _exit(127);
        }
    }

    ~Terminal() {
        if (pid_ > 0 && !exited_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (fd_ >= 0) close(fd_);
    }

    bool started() const { return pid_ > 0; }

    // Reads until `text` shows after what earlier calls found, for at most 10 seconds.
    bool WaitFor(const std::string& text) { return WaitFor(text, false); }

    // Reads until a whole line of output is `line`, as the answers are written: at the
    // start of a line (after CR or LF), ending in CR LF.
    bool WaitForLine(const std::string& line) { return WaitFor(line + "\r\n", true); }

    void Type(const std::string& keys) {
        ASSERT_EQ(write(fd_, keys.data(), keys.size()), ssize_t(keys.size()));
    }

    // Types Ctrl-D on an empty line and gives the exit status.
    int Quit() {
        Type(kCtrlD);
        while (ReadSome(10000)) {
        }
        int status = 0;
        if (waitpid(pid_, &status, 0) != pid_) return -1;
        exited_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    const std::string& output() const { return output_; }

  private:
    bool WaitFor(const std::string& text, bool line_start) {
        std::size_t from = mark_;
        while (true) {
            const std::size_t at = output_.find(text, from);
            if (at == std::string::npos) {
                if (!ReadSome(10000)) return false;
            } else if (line_start && at > 0 && output_[at - 1] != '\r' && output_[at - 1] != '\n') {
                from = at + 1;
            } else {
                mark_ = at + text.size();
                return true;
            }
        }
    }

    // Appends what the program wrote, without the switches of terminal modes (such as
    // bracketed paste, "\x1b[?2004h"), which readline sends around each line.
    bool ReadSome(int timeout_ms) {
        pollfd p{fd_, POLLIN, 0};
        if (poll(&p, 1, timeout_ms) <= 0) return false;
        char buf[4096];
        const ssize_t n = read(fd_, buf, sizeof buf);  // EIO once the program has ended
        if (n <= 0) return false;
        pending_.append(buf, std::size_t(n));
        std::size_t i = 0;
        while (i < pending_.size()) {
            if (pending_.compare(i, 3, "\x1b[?", 0,
                                 std::min<std::size_t>(3, pending_.size() - i)) != 0) {
                output_ += pending_[i++];
                continue;
            }
            std::size_t end = i + 3;
            while (end < pending_.size() && std::isdigit(static_cast<unsigned char>(pending_[end])))
                ++end;
            if (end == pending_.size()) break;  // the rest comes with the next read
            if (pending_[end] == 'h' || pending_[end] == 'l')
                i = end + 1;
            else
                output_ += pending_[i++];
        }
        pending_.erase(0, i);
        return true;
    }

    pid_t pid_ = -1;
    int fd_ = -1;
    bool exited_ = false;
    std::string pending_, output_;
    std::size_t mark_ = 0;
};

TEST(CliTerminal, EditsWithTheKeysAndRecallsWithUp) {
    const std::string home = MakeFolder("home");
    Terminal t({"HOME=" + home, "XDG_STATE_HOME"});
    ASSERT_TRUE(t.started());
    ASSERT_TRUE(t.WaitFor("Çıkmak için Ctrl-D\r\nzentu> ")) << t.output();

    // "12+", two to the left, "9", to the end, "3".
    t.Type("12+");
    ASSERT_TRUE(t.WaitFor("12+"));
    t.Type(std::string(kLeft) + kLeft + "9" + kEnd + "3\r");
    EXPECT_TRUE(t.WaitForLine("192+3=195")) << t.output();
    ASSERT_TRUE(t.WaitFor("zentu> "));
    t.Type(std::string(kUp) + "\r");
    EXPECT_TRUE(t.WaitForLine("192+3=195")) << t.output();
    ASSERT_TRUE(t.WaitFor("zentu> "));
    t.Type(std::string("+1") + kHome + "2\r");
    EXPECT_TRUE(t.WaitForLine("2+1=3")) << t.output();

    // Ctrl-C drops the line being typed.
    ASSERT_TRUE(t.WaitFor("zentu> "));
    t.Type("5+");
    ASSERT_TRUE(t.WaitFor("5+"));
    t.Type(kCtrlC);
    ASSERT_TRUE(t.WaitFor("^C\r\n")) << t.output();
    ASSERT_TRUE(t.WaitFor("zentu> "));
    t.Type("7\r");
    EXPECT_TRUE(t.WaitForLine("7=7")) << t.output();
    ASSERT_TRUE(t.WaitFor("zentu> "));
    EXPECT_EQ(t.Quit(), 0);

    // Kept in the default place, the recalled line once.
    const std::string file = home + "/.local/state/zentu/history";
    EXPECT_EQ(ReadLines(file), (Lines{"192+3", "2+1", "7"}));
    struct stat info {};
    ASSERT_EQ(stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

// The history of earlier runs is there with Up and Ctrl-R, and the file keeps the last
// 1,000 lines.
TEST(CliTerminal, HistoryCarriesOverAndIsCapped) {
    const std::string state = MakeFolder("state");
    mkdir((state + "/zentu").c_str(), 0700);
    const std::string file = state + "/zentu/history";
    {
        std::ofstream out(file);
        for (int i = 1; i <= 1200; ++i) out << "1+" << i << "\n";
    }
    Terminal t({"XDG_STATE_HOME=" + state});
    ASSERT_TRUE(t.started());
    ASSERT_TRUE(t.WaitFor("zentu> "));
    t.Type(std::string(kUp) + kUp + "\r");
    EXPECT_TRUE(t.WaitForLine("1+1199=1200")) << t.output();
    ASSERT_TRUE(t.WaitFor("zentu> "));
    t.Type(std::string(kCtrlR) + "+345\r");
    EXPECT_TRUE(t.WaitForLine("1+345=346")) << t.output();
    ASSERT_TRUE(t.WaitFor("zentu> "));
    // Ctrl-C ends a search; Up then starts again from the newest line.
    t.Type(std::string(kCtrlR) + "+50");
    ASSERT_TRUE(t.WaitFor("reverse-i-search"));
    usleep(100000);
    t.Type(kCtrlC);
    ASSERT_TRUE(t.WaitFor("^C\r\n")) << t.output();
    ASSERT_TRUE(t.WaitFor("zentu> "));
    t.Type(std::string(kUp) + "\r");
    EXPECT_TRUE(t.WaitForLine("1+345=346")) << t.output();
    ASSERT_TRUE(t.WaitFor("zentu> "));
    EXPECT_EQ(t.Quit(), 0);

    const Lines kept = ReadLines(file);
    ASSERT_EQ(kept.size(), 1000u);
    EXPECT_EQ(kept.front(), "1+203");
    EXPECT_EQ(kept[997], "1+1200");
    EXPECT_EQ(kept[998], "1+1199");
    EXPECT_EQ(kept[999], "1+345");
}

// A history that cannot be written is told once; the prompt works on, Up included.
TEST(CliTerminal, UnwritableHistoryIsNotFatal) {
    const std::string state = MakeFolder("blocked") + "/file";
    std::ofstream(state) << "a file where a folder should be\n";
    Terminal t({"XDG_STATE_HOME=" + state});
    ASSERT_TRUE(t.started());
    ASSERT_TRUE(t.WaitFor("zentu> "));
    t.Type("2+3\r");
    EXPECT_TRUE(t.WaitForLine("2+3=5")) << t.output();
    ASSERT_TRUE(t.WaitFor("zentu> "));
    t.Type(std::string(kUp) + "*2\r");
    EXPECT_TRUE(t.WaitForLine("2+3*2=8")) << t.output();
    ASSERT_TRUE(t.WaitFor("zentu> "));
    EXPECT_EQ(t.Quit(), 0);
    EXPECT_NE(t.output().find("zentu-cli: history not saved in '" + state + "/zentu/history'"),
              std::string::npos)
        << t.output();
}

// Ctrl-C during a long computation ends that line only; the prompt comes back, and the
// failed line makes the exit status 1.
TEST(CliTerminal, InterruptEndsALongComputation) {
    const std::string state = MakeFolder("interrupt");
    Terminal t({"XDG_STATE_HOME=" + state});
    ASSERT_TRUE(t.started());
    ASSERT_TRUE(t.WaitFor("zentu> "));
    t.Type("7\r");
    ASSERT_TRUE(t.WaitForLine("7=7"));
    ASSERT_TRUE(t.WaitFor("zentu> "));
    t.Type("INT(X;X;0;1;2000000000)\r");
    ASSERT_TRUE(t.WaitFor("INT(X;X;0;1;2000000000)\r\n"));
    usleep(300000);
    t.Type(kCtrlC);
    // The line is written over the "^C" that the terminal echoed.
    EXPECT_TRUE(t.WaitFor("\rINT(X;X;0;1;2000000000)=Yazım Hatası...\r\nzentu> ")) << t.output();
    t.Type("ANS()+1\r");
    EXPECT_TRUE(t.WaitForLine("ANS()+1=8")) << t.output();
    ASSERT_TRUE(t.WaitFor("zentu> "));
    EXPECT_EQ(t.Quit(), 1);
}

}  // namespace
