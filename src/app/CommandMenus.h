#pragma once
#include <QHash>
#include <QObject>
#include <QString>

class QAction;
class QMenu;
class QWidget;

namespace vorlu {

// The hidden top-level menus that the command bar and the node tree pop up,
// with every item named by its control name.
class CommandMenus : public QObject {
    Q_OBJECT
public:
    explicit CommandMenus(QWidget* owner);

    QMenu* menu(const QString& name) const;     // "mnumain", "mnunw", "mnuscan", ...
    // "mnuexit", "mnunwscan", ...; throws std::logic_error for a name that is not there.
    QAction* action(const QString& name) const;

    // Items that depend on whether the selected node is this computer.
    void adjustForSelection(bool localSelected);

private:
    QHash<QString, QMenu*> menus_;
    QHash<QString, QAction*> actions_;
};

} // namespace vorlu
