#pragma once
// The application: names, the document and the main window shown maximised over it,
// the command line.
#include <QApplication>
#include <memory>
#include <string>
#include <vector>

#include "data/Document.h"

namespace ohmlet {

class MainWindow;

class OhmletApp : public QApplication {
    Q_OBJECT
public:
    OhmletApp(int& argc, char** argv);
    ~OhmletApp() override;

    // Creates and shows the frame; a file named on the command line is opened.
    // False when that file cannot be opened, which ends the program.
    bool InitInstance();
    MainWindow* MainFrame() const { return frame_.get(); }
    Document& CurrentDocument() { return document_; }

    // Every command runs from here: one that runs out of memory is abandoned with a
    // message, and the program goes on with the document it had.
    bool notify(QObject* receiver, QEvent* event) override;

private:
    // Declared first: the window and its views let go of it before it goes.
    Document document_;
    std::unique_ptr<MainWindow> frame_;
    // The command line as the system gave it: file names need not be UTF-8.
    std::vector<std::string> rawArguments_;
};

}  // namespace ohmlet
