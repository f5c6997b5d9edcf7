#include "app/TreeWidgetView.h"

#include "app/Pictures.h"

#include <QTreeWidget>

namespace vorlu {

namespace {
constexpr int TagRole = Qt::UserRole;
constexpr int KeyRole = Qt::UserRole + 1;
} // namespace

TreeWidgetView::TreeWidgetView(QTreeWidget* tree) : tree_(tree) {}

void TreeWidgetView::clear()
{
    tree_->clear();
    byKey_.clear();
}

void TreeWidgetView::addEntry(const std::string& parentKey, const std::string& key, const std::string& text,
                              const std::string& picture, std::size_t tag)
{
    QTreeWidgetItem* item = nullptr;
    if (parentKey.empty()) {
        item = new QTreeWidgetItem(tree_);
    } else {
        QTreeWidgetItem* parent = entry(parentKey);
        if (!parent)
            return;
        // Children go under a collapsed parent: an expanded one makes the view
        // lay out its rows again for every insertion. expandAll() shows them.
        item = new QTreeWidgetItem(parent);
    }
    const QString k = QString::fromStdString(key);
    item->setText(0, QString::fromStdString(text));
    item->setIcon(0, pictures::treeIcon(QString::fromStdString(picture)));
    item->setData(0, KeyRole, k);
    if (tag != 0)
        item->setData(0, TagRole, QString::number(tag));
    byKey_.insert(k, item);
}

void TreeWidgetView::setVisible(bool visible) { tree_->setVisible(visible); }

void TreeWidgetView::expandAll() { tree_->expandAll(); }

void TreeWidgetView::setPicture(const std::string& key, const std::string& picture)
{
    if (QTreeWidgetItem* item = entry(key))
        item->setIcon(0, pictures::treeIcon(QString::fromStdString(picture)));
}

QTreeWidgetItem* TreeWidgetView::entry(const std::string& key) const
{
    return byKey_.value(QString::fromStdString(key), nullptr);
}

std::string TreeWidgetView::keyOf(const QTreeWidgetItem* item) const
{
    return item ? byKey_.key(const_cast<QTreeWidgetItem*>(item)).toStdString() : std::string();
}

QString TreeWidgetView::tagOf(const QTreeWidgetItem* item)
{
    return item ? item->data(0, TagRole).toString() : QString();
}

} // namespace vorlu
