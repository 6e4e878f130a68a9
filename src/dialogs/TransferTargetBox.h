#pragma once
// The transfer dialog's target file choice: the path shown, the folder button and the
// option to name each download by its date and time.
#include <QDateTime>
#include <QObject>
#include <QString>
#include <functional>
#include <string>

class QCheckBox;
class QGridLayout;
class QLineEdit;
class QPushButton;

namespace ohmlet {

class TransferTargetBox : public QObject {
    Q_OBJECT
public:
    explicit TransferTargetBox(QObject* parent = nullptr);

    // Two calls, so the path row and the dated-name option keep their places in the
    // dialog's grid and in its tab order, with the port rows in between.
    void PlacePath(QGridLayout& grid, int row);
    void PlaceOption(QGridLayout& grid, int row);
    QPushButton* FolderButton() const { return folderButton_; }

    QString Path() const { return path_; }
    // The path as the file system takes it.
    std::string FileName() const;
    QString Folder() const { return folder_; }
    void SetFolder(const QString& folder);
    // Makes the target again: a dated name moves on with the time.
    void Refresh();
    bool NamesByDate() const;
    void SetNamesByDate(bool on);
    void SetClock(std::function<QDateTime()> clock) { clock_ = std::move(clock); }
    // While a transfer runs the target stays as it is.
    void SetEnabled(bool enabled);

    static QString TargetForFolder(const QString& folder);
    static QString DefaultTargetPath();
    static QString DatedTargetForFolder(const QString& folder, const QDateTime& now,
                                        const std::function<bool(const QString&)>& exists);
    static QString NameByDateKey();

private:
    QString path_;
    QString folder_;
    std::function<QDateTime()> clock_;
    QLineEdit* pathEdit_ = nullptr;
    QPushButton* folderButton_ = nullptr;
    QCheckBox* nameByDate_ = nullptr;
};

}  // namespace ohmlet
