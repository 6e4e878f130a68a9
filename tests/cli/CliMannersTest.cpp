// How ohmlet-cli behaves as a command-line program: --version, help for every command,
// English messages, and download progress only on a terminal.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QRegularExpression>
#include <QTemporaryDir>
#include <chrono>
#include <string>

#include "../transfer/CliSimulator.h"
#include "CliRun.h"
#include "data/DzlFile.h"
#include "support/TestSupport.h"

namespace ohmlet {
namespace {

using test::CliRun;
using test::Q;
using test::RunCli;

bool IsAscii(const QByteArray& bytes) {
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

TEST(CliVersion, PrintsTheProgramAndTheProjectVersion) {
    for (const char* option : {"--version", "-v"}) {
        CliRun r = RunCli({option});
        EXPECT_EQ(r.exitCode, 0) << option;
        EXPECT_EQ(r.out.toStdString(), std::string("ohmlet-cli ") + OHMLET_VERSION + "\n")
            << option;
        EXPECT_TRUE(r.err.isEmpty()) << option;
    }
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d+\\.\\d+"))
                    .match(QStringLiteral(OHMLET_VERSION))
                    .hasMatch());
}

// Every option a command takes, in every spelling it accepts.
struct CommandOptions {
    const char* command;
    std::vector<const char*> options;
};

const CommandOptions kCommands[] = {
    {"info", {}},
    {"stats", {"--table", "--json"}},
    {"dump", {}},
    {"convert", {"-o", "--output"}},
    {"decode", {"--serial", "--usb", "-o", "--output"}},
    {"export", {"-f", "--format", "-o", "--output", "--no-bom"}},
    {"fetch", {"--serial", "--usb", "-o", "--output", "--timeout", "--save-reply"}},
    {"simulate", {"--serial", "--from", "--reply"}},
};

TEST(CliHelp, EveryCommandPrintsItsUsageOnStandardOutput) {
    for (const CommandOptions& k : kCommands) {
        const QString command = QString::fromLatin1(k.command);
        // Asked for in every way, also after other arguments: help wins and nothing runs.
        const QList<QStringList> asks = {{command, "--help"},
                                         {command, "-h"},
                                         {"help", command},
                                         {"--help", command},
                                         {command, "missing.DZL", "-o", "x", "--help"}};
        for (const QStringList& args : asks) {
            CliRun r = RunCli(args);
            const std::string what = args.join(' ').toStdString();
            EXPECT_EQ(r.exitCode, 0) << what;
            EXPECT_TRUE(r.err.isEmpty()) << what << ": " << r.err.toStdString();
            const QString out = QString::fromUtf8(r.out);
            EXPECT_TRUE(out.startsWith(QStringLiteral("usage: ohmlet-cli ") + command + ' '))
                << what << ":\n"
                << r.out.toStdString();
            EXPECT_TRUE(IsAscii(r.out)) << what;
            for (const char* option : k.options) {
                // In the usage line or the option list, as a word of its own.
                QRegularExpression word(QStringLiteral("(^|[\\s,\\[|])") +
                                        QRegularExpression::escape(QString::fromLatin1(option)) +
                                        QStringLiteral("([\\s,\\]|]|$)"));
                EXPECT_TRUE(word.match(out).hasMatch()) << what << ": no " << option;
            }
            EXPECT_TRUE(out.contains(QStringLiteral("-h, --help"))) << what;
        }
    }
}

TEST(CliHelp, TheProgramsHelpListsEveryCommand) {
    for (const char* ask : {"--help", "-h", "help"}) {
        CliRun r = RunCli({ask});
        EXPECT_EQ(r.exitCode, 0) << ask;
        const QString out = QString::fromUtf8(r.out);
        // Listed, and in the order a user meets them.
        qsizetype last = -1;
        for (const CommandOptions& k : kCommands) {
            const qsizetype at = out.indexOf(QStringLiteral("ohmlet-cli ") + k.command + ' ');
            EXPECT_GT(at, last) << ask << ": " << k.command;
            last = at;
        }
        EXPECT_TRUE(out.contains(QStringLiteral("COMMAND --help"))) << ask;
        EXPECT_TRUE(out.contains(QStringLiteral("--version"))) << ask;
    }
}

TEST(CliHelp, UsageErrorsStayAsTheyWere) {
    struct Case {
        QStringList args;
        int exitCode;
        const char* messagePart;
    } cases[] = {
        {{"help", "frobnicate"}, 2, "unknown command 'frobnicate'"},
        {{"frobnicate", "--help"}, 2, "unknown command 'frobnicate'"},
        {{"export", "--format", "docx", OHMLET_EXAMPLE_PATH, "-o", "x.docx", "--no-bom"},
         2,
         "--no-bom applies to csv only"},
        // A mistyped option is named, not only the usage repeated.
        {{"stats", "--bogus", OHMLET_EXAMPLE_PATH}, 2, "unknown option '--bogus'"},
        {{"info", OHMLET_EXAMPLE_PATH, "-x"}, 2, "unknown option '-x'"},
        {{"fetch", "--usb", "0", "--timout", "5"}, 2, "unknown option '--timout'"},
        {{"fetch"}, 2, "[--timeout SECONDS]"},
        {{"fetch", "--serial", "/dev/null", "--save-reply"}, 2, "--save-reply needs a file name"},
        // The saved reply must not take the place of the file the fetch writes.
        {{"fetch", "--usb", "0", "--save-reply", "./DZLDat.DZL"},
         2,
         "--save-reply must not name the DZL file"},
    };
    for (const Case& k : cases) {
        CliRun r = RunCli(k.args);
        EXPECT_EQ(r.exitCode, k.exitCode) << k.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(k.messagePart)) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << k.args.join(' ').toStdString();
    }
}

// A pseudo-terminal's master; the slave's name is what a child opens as its terminal.
struct Terminal {
    int master = -1;
    std::string slaveName;
    Terminal() {
        master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0)
            slaveName = ::ptsname(master);
    }
    ~Terminal() {
        if (master >= 0) ::close(master);
    }
};

struct ChildRun {
    int exitCode = -1;
    std::string out, err;
};

// ohmlet-cli with its standard error on a terminal (or a pipe), stdout on a pipe.
ChildRun RunWithStderr(bool terminal, const std::vector<std::string>& args) {
    Terminal tty;
    int outPipe[2], errPipe[2];
    if (::pipe(outPipe) != 0 || ::pipe(errPipe) != 0) return {};
    if (terminal && tty.slaveName.empty()) return {};
    pid_t child = ::fork();
    if (child == 0) {
        int errFd = terminal ? ::open(tty.slaveName.c_str(), O_RDWR | O_NOCTTY) : errPipe[1];
        ::dup2(outPipe[1], 1);
        ::dup2(errFd, 2);
        std::vector<char*> argv{const_cast<char*>(OHMLET_CLI_PATH)};
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(OHMLET_CLI_PATH, argv.data());
        ::_exit(127);
    }
    ::close(outPipe[1]);
    ::close(errPipe[1]);
    const int errRead = terminal ? tty.master : errPipe[0];
    ChildRun run;
    bool outOpen = true, errOpen = true, exited = false;
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while ((outOpen || (errOpen && !exited)) && std::chrono::steady_clock::now() < deadline) {
        pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errRead, POLLIN, 0}};
        ::poll(fds, 2, 100);
        char buffer[4096];
        if (outOpen && (fds[0].revents & (POLLIN | POLLHUP))) {
            ssize_t n = ::read(outPipe[0], buffer, sizeof buffer);
            if (n > 0)
                run.out.append(buffer, static_cast<std::size_t>(n));
            else
                outOpen = false;
        }
        if (errOpen && (fds[1].revents & (POLLIN | POLLHUP))) {
            ssize_t n = ::read(errRead, buffer, sizeof buffer);
            if (n > 0)
                run.err.append(buffer, static_cast<std::size_t>(n));
            else
                errOpen = false;  // a pipe's end, or the terminal's last writer gone
        }
        if (!exited && ::waitpid(child, &status, WNOHANG) == child) exited = true;
    }
    if (!exited) ::waitpid(child, &status, 0);
    ::close(outPipe[0]);
    ::close(errPipe[0]);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::vector<Component> TwoComponents() {
    return {test::MakeComponent("0001", {40, 41, 42}), test::MakeComponent("0002", {50, 51})};
}

TEST(CliFetchProgress, ShownInPlaceOnATerminalOnly) {
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("source.DZL"));
    ASSERT_TRUE(WriteDzlFile(source.toStdString(), TwoComponents()).Ok());
    // Serial reply: an 8-byte header, then 14 bytes and 2 per reading for each component.
    const std::string total = std::to_string(8 + (14 + 6) + (14 + 4));
    for (bool terminal : {true, false}) {
        test::CliSimulator simulator({"--from", source});
        ASSERT_TRUE(simulator.Port().startsWith('/'));
        ChildRun r = RunWithStderr(terminal, {"fetch", "--serial", simulator.Port().toStdString(),
                                              "-o", dir.path().toStdString()});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_NE(r.out.find("2 components"), std::string::npos) << r.out;
        if (!terminal) {
            EXPECT_EQ(r.err, "") << "progress on a pipe";
            continue;
        }
        // The terminal turns "\n" into "\r\n"; each update starts with "\r".
        EXPECT_NE(r.err.find('\r'), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("\r100% " + total + " of " + total + " bytes, 2 components"),
                  std::string::npos)
            << r.err;
        EXPECT_NE(r.err.find(" of " + total + " bytes"), std::string::npos) << r.err;
        // The last update is finished with a line break, not left for the shell prompt.
        EXPECT_EQ(r.err.back(), '\n') << r.err;
        EXPECT_EQ(r.err.find("3 components"), std::string::npos) << r.err;
    }
}

// The shared transfer texts are the dialog's Chinese; the command line says it in English.
TEST(CliMessages, CommonFailuresAreInEnglish) {
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    const std::string notDzl = folder + "/notes.DZL";
    test::WriteAll(notDzl, test::Bytes().Int(0x20202020).Int(1).data);
    Terminal silent;  // a port that never answers
    ASSERT_FALSE(silent.slaveName.empty());
    struct Case {
        const char* what;
        std::vector<std::string> args;
        int exitCode;
        std::string messagePart;
    } cases[] = {
        {"missing file", {"info", folder + "/missing.DZL"}, 1, "No such file or directory"},
        {"missing file to export",
         {"export", "--format", "csv", folder + "/missing.DZL", "-o", folder + "/out.csv"},
         1,
         "Cannot open"},
        {"not a DZL", {"dump", notDzl}, 1, "is not a valid DZL file"},
        {"port cannot be opened",
         {"fetch", "--serial", folder + "/ttyNone", "-o", folder},
         1,
         "Cannot open " + folder + "/ttyNone"},
        {"timeout",
         {"fetch", "--serial", silent.slaveName, "-o", folder, "--timeout", "1"},
         1,
         "stopped answering (0 bytes received, timed out after 1 s)"},
    };
    for (const Case& k : cases) {
        ChildRun r = RunWithStderr(false, k.args);
        EXPECT_EQ(r.exitCode, k.exitCode) << k.what << ": " << r.err;
        EXPECT_NE(r.err.find(k.messagePart), std::string::npos) << k.what << ": " << r.err;
        EXPECT_TRUE(IsAscii(QByteArray::fromStdString(r.err))) << k.what << ": " << r.err;
        EXPECT_EQ(r.err.rfind("ohmlet-cli: ", 0), 0u) << k.what << ": " << r.err;
        // The file or port is named once, not again in the cause.
        const std::string named = k.args[k.args.size() > 2 && k.args[1] == "--serial" ? 2 : 1];
        EXPECT_EQ(r.err.find(named), r.err.rfind(named)) << k.what << ": " << r.err;
    }
}

}  // namespace
}  // namespace ohmlet
