#include "app/Shortcuts.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QShortcut>
#include <QTreeWidget>

namespace vorlu {

namespace {

constexpr KeyBinding kBindings[] = {
    {"F10", KeyCommand::PopupMain},           {"Alt+M", KeyCommand::PopupMain},
    {"Alt+N", KeyCommand::PopupNetwork},      {"Alt+O", KeyCommand::PopupNodes},
    {"Alt+D", KeyCommand::PopupDrives},       {"Alt+A", KeyCommand::PopupAdministrator},
    {"Alt+C", KeyCommand::PopupConfigure},    {"Ctrl+Q", KeyCommand::Exit},
    {"F1", KeyCommand::Help},                 {"F5", KeyCommand::Rescan},
};

struct PopupLabel {
    KeyCommand command;
    int label;
    const char* what;
};

constexpr PopupLabel kPopups[] = {
    {KeyCommand::PopupMain, 0, "Support, About and Exit"},
    {KeyCommand::PopupNetwork, 1, "Network Scan and Re-Scan"},
    {KeyCommand::PopupNodes, 3, "Build and diagnose nodes, Scan List"},
    {KeyCommand::PopupDrives, 4, "View: Reset, Test View, Move and Zoom"},
    {KeyCommand::PopupAdministrator, 5, "Administrator password, Logins, Statistics"},
    {KeyCommand::PopupConfigure, 6, "Settings, Backcolor, Show Racks"},
};

// Qt turns a Return that nobody takes into activation only on some styles;
// a filter makes it the same everywhere.
class ReturnFilter : public QObject {
public:
    ReturnFilter(QTreeWidget& tree, std::function<void()> doubleClick)
        : QObject(&tree), doubleClick_(std::move(doubleClick))
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                doubleClick_();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> doubleClick_;
};

} // namespace

std::span<const KeyBinding> keyBindings() { return kBindings; }

int popupLabel(KeyCommand command)
{
    for (const PopupLabel& p : kPopups)
        if (p.command == command)
            return p.label;
    return -1;
}

QString commandLabelTip(int label6Index)
{
    for (const PopupLabel& p : kPopups) {
        if (p.label != label6Index)
            continue;
        QStringList keys;
        for (const KeyBinding& b : kBindings)
            if (b.command == p.command)
                keys << QKeySequence(QString::fromLatin1(b.keys)).toString(QKeySequence::NativeText);
        return QString::fromLatin1(p.what) + " (" + keys.join(", ") + ")";
    }
    return {};
}

void installKeyBindings(QWidget& window, std::function<void(KeyCommand)> run)
{
    for (const KeyBinding& b : kBindings) {
        auto* s = new QShortcut(QKeySequence(QString::fromLatin1(b.keys)), &window);
        s->setContext(Qt::WindowShortcut);
        const KeyCommand command = b.command;
        QObject::connect(s, &QShortcut::activated, &window, [run, command] { run(command); });
    }
}

void installReturnAsDoubleClick(QTreeWidget& tree, std::function<void()> doubleClick)
{
    tree.installEventFilter(new ReturnFilter(tree, std::move(doubleClick)));
}

} // namespace vorlu
