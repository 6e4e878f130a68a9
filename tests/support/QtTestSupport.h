#pragma once
// Helpers of the tests that use Qt: GBK texts, DZL files written with the program's own
// writer, typing into the grid as a user does.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

#include "data/DzlFile.h"
#include "report/GbkCodec.h"
#include "support/TestSupport.h"
#include "widgets/GridControl.h"

// Readable QStrings in test failures.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace ohmlet::test {

// The GBK bytes of a UTF-8 text, for names and dates of test components.
inline GbkText Gbk(const char* utf8) { return {ToGbk(QString::fromUtf8(utf8))}; }

// Writes the components into dir and returns the file's path.
inline QString WriteFile(const QTemporaryDir& dir, const QString& name,
                         const std::vector<Component>& components) {
    const QString path = dir.filePath(name);
    DzlWriteResult r = WriteDzlFile(QFile::encodeName(path).toStdString(), components);
    return r.Ok() ? path : QString();
}

// Clicks a cell and types text into it as a user would: the first key opens the
// in-place editor, the rest go to the editor, Return ends the edit.
inline bool TypeIntoCell(GridControl& grid, int row, int col, const QString& text) {
    grid.scrollTo(grid.GridModel()->index(row - 1, col));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.CellRect(row, col).center());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // old editors
    QTest::keyClicks(&grid, text.left(1));
    QLineEdit* editor = nullptr;
    for (QLineEdit* e : grid.findChildren<QLineEdit*>())
        if (e->isVisible()) editor = e;
    if (!editor) return false;
    QTest::keyClicks(editor, text.mid(1));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    return true;
}

inline std::string Local(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace ohmlet::test
