// Passwords never reach what the windows show: a refused login and a failed
// connection with known passwords, and every text of the main window and of
// FrmCon looked through afterwards.
#include "app/CommandMenus.h"
#include "app/MainWindow.h"
#include "network/ui/FrmCon.h"
#include "nodes/AtomicFile.h"
#include "nodes/NodeFile.h"
#include "support/RecordingProgramEnd.h"
#include "support/ScriptedMessageBoxes.h"
#include "platform/SimulatedNetwork.h"
#include "platform/SimulatedPlatform.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace vorlu;

namespace {

const char* const NodePassword = "Node-Secret-41";
const char* const UnreachablePassword = "Gone-Secret-42";
const char* const AdminPassword = "Admin-Secret-43";
const char* const Passwords[] = {NodePassword, UnreachablePassword, AdminPassword};

const char* const Network = R"({"localAddress": "10.0.0.9", "computers": [
  {"name": "ME", "address": "10.0.0.9", "management": {"accounts": [{"user": "", "password": ""}]}},
  {"name": "PC-2", "address": "10.0.0.2", "management": {"accounts": [{"user": "admin", "password": "right"}]}},
  {"name": "PC-OFF", "address": "10.0.0.7", "management": {"reachable": false}},
  {"name": "PC-ADM", "address": "10.0.0.8", "management": {"accounts": [{"user": "administrator", "password": "right"}]}}]})";

// Every text a window and its children show or offer on hovering, with where it is.
std::vector<std::pair<std::string, QString>> shownTexts(const QWidget& root)
{
    std::vector<std::pair<std::string, QString>> out;
    auto add = [&out](const QObject& o, const char* what, const QString& text) {
        out.emplace_back((o.objectName().isEmpty() ? o.metaObject()->className() : o.objectName()).toStdString() +
                             " " + what,
                         text);
    };
    QList<const QWidget*> widgets{&root};
    for (const QWidget* w : root.findChildren<QWidget*>())
        widgets.push_back(w);
    for (const QWidget* w : widgets) {
        add(*w, "window title", w->windowTitle());
        add(*w, "tooltip", w->toolTip());
        add(*w, "status tip", w->statusTip());
        add(*w, "what's this", w->whatsThis());
        if (const auto* label = qobject_cast<const QLabel*>(w))
            add(*w, "text", label->text());
        if (const auto* button = qobject_cast<const QAbstractButton*>(w))
            add(*w, "text", button->text());
        if (const auto* bar = qobject_cast<const QStatusBar*>(w))
            add(*w, "message", bar->currentMessage());
        if (const auto* table = qobject_cast<const QTableWidget*>(w))
            for (int r = 0; r < table->rowCount(); ++r)
                for (int c = 0; c < table->columnCount(); ++c)
                    if (const QTableWidgetItem* item = table->item(r, c)) {
                        add(*w, "cell", item->text());
                        add(*w, "cell tooltip", item->toolTip());
                    }
        if (const auto* tree = qobject_cast<const QTreeWidget*>(w)) {
            QList<const QTreeWidgetItem*> items;
            for (int i = 0; i < tree->topLevelItemCount(); ++i)
                items.push_back(tree->topLevelItem(i));
            while (!items.isEmpty()) {
                const QTreeWidgetItem* item = items.takeLast();
                add(*w, "item", item->text(0));
                add(*w, "item tooltip", item->toolTip(0));
                for (int i = 0; i < item->childCount(); ++i)
                    items.push_back(item->child(i));
            }
        }
    }
    for (const QAction* a : root.findChildren<QAction*>()) {
        add(*a, "text", a->text());
        add(*a, "tooltip", a->toolTip());
        add(*a, "status tip", a->statusTip());
    }
    return out;
}

TEST(SecretsWindow, NoPasswordInAnyTextOfTheWindowsAfterARefusalAndAFailedConnection)
{
    QTemporaryDir dir;
    const std::filesystem::path folder = dir.path().toStdString();
    Platform platform;
    std::string error;
    installSimulatedNetwork(platform, SimulatedNetwork::parse(Network, "net.json", error));
    auto boxes = std::make_unique<ScriptedMessageBoxes>();
    ScriptedMessageBoxes& shownBoxes = *boxes;
    platform.messages = std::move(boxes);
    platform.programEnd = std::make_unique<RecordingProgramEnd>();
    NodeTable t;
    for (const auto& [name, ip, login, password] :
         {std::tuple{"ME", "10.0.0.9", "", ""}, std::tuple{"PC-2", "10.0.0.2", "admin", NodePassword},
          std::tuple{"PC-OFF", "10.0.0.7", "off", UnreachablePassword}, std::tuple{"PC-ADM", "10.0.0.8", "", ""}}) {
        NodeRecord r = discoveredNode(name);
        r.IP = ip;
        r.Login = login;
        r.Password = password;
        t.append(r);
        std::filesystem::create_directory(folder / name);
    }
    ASSERT_TRUE(writeFileAtomically(folder / "lg.ini", formatNodeFile(t, NodeFileForm::Plain)));
    SceneHooks scene;
    Frmmain window(platform, folder, scene);
    window.loadStep(nullptr);
    window.state().settings.AdminUser = "administrator";
    window.state().settings.AdminPassword = AdminPassword;

    const CommandMenus::Items& items = window.menus().item();
    struct Step {
        std::size_t node;
        QAction* item;
        const char* status; // FrmCon's, to know the step ran as meant
    };
    const Step steps[] = {
        {2, items.mnuScannode, "Access denied to admin10.0.0.2"},  // the node's own login refused
        {3, items.mnuwcurnddia, "Access denied to off10.0.0.7"},   // the node cannot be reached
        {4, items.mnuScannode, "Access denied to 10.0.0.8"},       // the administrator login refused
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.item->objectName().toStdString());
        window.state().SelectedNode = s.node;
        emit s.item->triggered(false);
        EXPECT_EQ(window.frmCon().status(), s.status);
        for (const QWidget* root : {static_cast<const QWidget*>(&window), static_cast<const QWidget*>(&window.frmCon())})
            for (const auto& [where, text] : shownTexts(*root))
                for (const char* password : Passwords)
                    EXPECT_FALSE(text.contains(password)) << where << ": " << text.toStdString();
        for (const ScriptedMessageBoxes::Box& box : shownBoxes.boxes())
            for (const char* password : Passwords)
                EXPECT_EQ((box.title + box.text).find(password), std::string::npos) << box.text;
        window.frmCon().hide();
    }
}

} // namespace
