#pragma once
// The application: names, the main window shown maximised, the command line.
#include <QApplication>
#include <memory>

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

private:
    std::unique_ptr<CMainFrame> frame_;
};

}  // namespace ohmlet
