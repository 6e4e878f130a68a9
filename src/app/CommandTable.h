#pragma once
// Each command's menu text and its string-table text: the status-bar prompt and the
// tooltip, separated by a line feed.
#include <QKeySequence>
#include <QList>
#include <QString>

namespace ohmlet {

struct CommandText {
    int id;
    const char* menuText;    // UTF-8 source text; empty for commands without a menu item
    const char* statusText;  // UTF-8 source text, "prompt\ntooltip"
};

// The whole table, in no particular order.
const QList<CommandText>& Commands();
const CommandText* FindCommand(int id);

// In the window's language.
QString MenuText(int id);
QString StatusPrompt(int id);
QString ToolTipText(int id);

struct Accelerator {
    QKeySequence keys;
    int command;
};

// The frame's accelerator table.
const QList<Accelerator>& Accelerators();

}  // namespace ohmlet
