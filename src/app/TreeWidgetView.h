#pragma once
#include "network/TreeView.h"

#include <QHash>
#include <QString>

class QTreeWidget;
class QTreeWidgetItem;

namespace vorlu {

// Keyed entries with pictures and tags over a QTreeWidget. The tag is kept as
// text in the item's user role, as the click handlers read it.
class TreeWidgetView : public TreeView {
public:
    explicit TreeWidgetView(QTreeWidget* tree);
    void clear() override;
    void addEntry(const std::string& parentKey, const std::string& key, const std::string& text,
                  const std::string& picture, std::size_t tag) override;
    void setVisible(bool visible) override;

    void expandAll();
    // A new picture for an existing entry; an unknown key is skipped.
    void setPicture(const std::string& key, const std::string& picture);
    QTreeWidgetItem* entry(const std::string& key) const;
    // The key the entry was added with; empty for an item of no entry.
    std::string keyOf(const QTreeWidgetItem* item) const;
    static QString tagOf(const QTreeWidgetItem* item);

private:
    QTreeWidget* tree_;
    QHash<QString, QTreeWidgetItem*> byKey_;
};

} // namespace vorlu
