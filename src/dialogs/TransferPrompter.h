#pragma once
// The message boxes and the folder browser of the transfer dialog, behind an
// interface so tests can answer them.
#include <QString>
#include <optional>
#include <vector>

class QWidget;

namespace ohmlet {

class TransferPrompter {
public:
    virtual ~TransferPrompter() = default;
    // OK button only, the application's name as caption.
    virtual void Inform(QWidget* parent, const QString& text) = 0;
    // Yes and No; true for Yes.
    virtual bool AskYesNo(QWidget* parent, const QString& caption, const QString& text) = 0;
    // OK button only, error icon.
    virtual void ShowError(QWidget* parent, const QString& caption, const QString& text) = 0;
    // The chosen folder's path (empty for a folder without one); nothing when cancelled.
    virtual std::optional<QString> ChooseFolder(QWidget* parent, const QString& title) = 0;
    // ShowError's box with one more button, offerText; true when the user pressed it.
    // Without an override the box offers nothing.
    virtual bool ShowErrorWithOffer(QWidget* parent, const QString& caption, const QString& text,
                                    const QString& offerText);
    // A file name to save under, starting from suggested; nothing when cancelled.
    virtual std::optional<QString> ChooseSaveFile(QWidget* parent, const QString& title,
                                                  const QString& suggested, const QString& filter);

    // Asks where to keep a failed download's raw reply (reply_usb.bin or reply_serial.bin
    // in `folder` suggested) and saves it there safely, saying so when it cannot.
    void SaveReply(QWidget* parent, const QString& folder, bool usb,
                   const std::vector<unsigned char>& reply);
};

class MessageBoxPrompter : public TransferPrompter {
public:
    void Inform(QWidget* parent, const QString& text) override;
    bool AskYesNo(QWidget* parent, const QString& caption, const QString& text) override;
    void ShowError(QWidget* parent, const QString& caption, const QString& text) override;
    std::optional<QString> ChooseFolder(QWidget* parent, const QString& title) override;
    bool ShowErrorWithOffer(QWidget* parent, const QString& caption, const QString& text,
                            const QString& offerText) override;
    std::optional<QString> ChooseSaveFile(QWidget* parent, const QString& title,
                                          const QString& suggested, const QString& filter) override;
};

}  // namespace ohmlet
