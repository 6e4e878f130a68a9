#pragma once
// A real main frame, shown offscreen, with the questions it asks answered by the test.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QTest>
#include <deque>

#include "app/MainWindow.h"
#include "support/QtTestSupport.h"

namespace ohmlet::test {

class FrameTest : public ::testing::Test {
public:
    // The answers the next questions get, in order.
    void Answer(std::initializer_list<QMessageBox::StandardButton> next) { answers = next; }

protected:
    void SetUp() override {
        QSettings(QStringLiteral("Local AppWizard-Generated Applications"),
                  QStringLiteral("Ohmlet"))
            .remove(QStringLiteral("Recent File List"));
        frame = std::make_unique<MainWindow>(doc);
        frame->SetSavePrompt([this](const QString& text) {
            prompts.push_back(text);
            if (answers.empty()) {
                ADD_FAILURE() << "unexpected question: " << text.toStdString();
                return QMessageBox::Cancel;
            }
            auto a = answers.front();
            answers.pop_front();
            return a;
        });
        frame->SetFileNamePrompt([this](int command, const QString& suggestion) {
            askedCommands.push_back(command);
            suggestions.push_back(suggestion);
            return nextFileName;
        });
        frame->SetErrorSink([this](const QString& text) { errors.push_back(text); });
        frame->resize(1200, 800);
        frame->show();
        frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    }
    void TearDown() override {
        answers.clear();
        frame->SetSavePrompt([](const QString&) { return QMessageBox::No; });
        frame.reset();
    }

    Document& Doc() { return doc; }
    void Key(Qt::Key key, Qt::KeyboardModifiers mods) { QTest::keyClick(frame.get(), key, mods); }
    QString Open(std::vector<Component> components, const QString& name = QStringLiteral("t.DZL")) {
        QString path = WriteFile(dir, name, components);
        EXPECT_TRUE(frame->OpenDocumentFile(path));
        return path;
    }

    QTemporaryDir dir;
    Document doc;  // the application's, outliving the frame
    std::unique_ptr<MainWindow> frame;
    std::deque<QMessageBox::StandardButton> answers;
    std::vector<QString> prompts;
    std::vector<int> askedCommands;
    std::vector<QString> suggestions;
    std::vector<QString> errors;
    QString nextFileName;
};

}  // namespace ohmlet::test
