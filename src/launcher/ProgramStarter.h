#pragma once
// Starts the two programs Kiosa offers, found beside the launcher itself.
#include <QString>
#include <QStringList>
#include <functional>
#include <utility>

namespace kiosa {

enum class LaunchedProgram { Ohmlet, Ferrolog };

// Starts `program` as a separate process; true when it started. Tests put in a
// recorder so that no real program runs.
using StartProcessFunction =
    std::function<bool(const QString& program, const QStringList& arguments)>;

// The relative command of each program: "gangjin/Ohmlet" and "xiushi/Ferrolog"
// (with ".exe" on Windows).
QString RelativeProgramPath(LaunchedProgram program);

class ProgramStarter {
public:
    // `launcherFolder` is the folder Kiosa runs from; the current directory is not
    // used, since a desktop shortcut may start Kiosa from anywhere.
    ProgramStarter(QString launcherFolder, StartProcessFunction startProcess);

    // The full path of the program's executable.
    QString ProgramPath(LaunchedProgram program) const;

    // What Ohmlet gets on its command line (the launcher's --lang); the sibling program
    // takes no options and always starts with none.
    void SetOhmletArguments(QStringList arguments) { ohmletArguments_ = std::move(arguments); }

    // Starts the program; whether it started is returned but the launcher ends either way.
    bool Start(LaunchedProgram program) const;

    // The real thing: a detached process, shown normally, in the inherited directory.
    static bool StartDetached(const QString& program, const QStringList& arguments);

private:
    QString launcherFolder_;
    StartProcessFunction startProcess_;
    QStringList ohmletArguments_;
};

}  // namespace kiosa
