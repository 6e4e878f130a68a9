#pragma once
// The application: names, the main window shown maximised, the command line.
#include <QApplication>
#include <memory>
#include <string>
#include <vector>

namespace ohmlet {

class CMainFrame;

class COhmletApp : public QApplication {
    Q_OBJECT
public:
    COhmletApp(int& argc, char** argv);
    ~COhmletApp() override;

    // Creates and shows the frame; a file named on the command line is opened.
    // False when that file cannot be opened, which ends the program.
    bool InitInstance();
    CMainFrame* MainFrame() const { return frame_.get(); }

    // Every command runs from here: one that runs out of memory is abandoned with a
    // message, and the program goes on with the document it had.
    bool notify(QObject* receiver, QEvent* event) override;

private:
    std::unique_ptr<CMainFrame> frame_;
    // The command line as the system gave it: file names need not be UTF-8.
    std::vector<std::string> rawArguments_;
};

}  // namespace ohmlet
