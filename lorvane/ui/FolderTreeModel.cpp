#include "FolderTreeModel.h"

#include "building/NameText.h"
#include "files/FolderListing.h"

#include <QFileIconProvider>

#include <algorithm>
#include <vector>

using namespace lorvane;

struct FolderTreeModel::Node {
    QByteArray name;
    Node* parent = nullptr;
    int row = 0;
    bool listed = false;
    std::vector<std::unique_ptr<Node>> children;
};

FolderTreeModel::FolderTreeModel(QObject* parent)
    : QAbstractItemModel(parent), m_top(std::make_unique<Node>()),
      m_icon(QFileIconProvider().icon(QFileIconProvider::Folder)) {
    auto root = std::make_unique<Node>();
    root->name = "/";
    root->parent = m_top.get();
    m_top->children.push_back(std::move(root));
    m_top->listed = true;
}

FolderTreeModel::~FolderTreeModel() = default;

FolderTreeModel::Node* FolderTreeModel::nodeOf(const QModelIndex& index) const {
    return index.isValid() ? static_cast<Node*>(index.internalPointer()) : m_top.get();
}

QModelIndex FolderTreeModel::indexOf(const QByteArray& folder) {
    if (!folder.startsWith('/'))
        return {};
    QModelIndex at = index(0, 0);
    for (const QByteArray& part : folder.split('/')) {
        if (part.isEmpty() || part == ".")
            continue;
        if (part == "..") {
            if (at.parent().isValid())
                at = at.parent();
            continue;
        }
        fetchMore(at);
        const auto& children = nodeOf(at)->children;
        const auto found = std::find_if(children.begin(), children.end(),
                                        [&part](const auto& c) { return c->name == part; });
        if (found == children.end())
            return {};
        at = index(int(found - children.begin()), 0, at);
    }
    fetchMore(at);
    return at;
}

QByteArray FolderTreeModel::pathOf(const QModelIndex& index) const {
    if (!index.isValid())
        return {};
    QByteArray path;
    for (const Node* node = nodeOf(index); node->parent != m_top.get(); node = node->parent)
        path.prepend('/' + node->name);
    return path.isEmpty() ? QByteArray("/") : path;
}

void FolderTreeModel::forget(const QModelIndex& index) {
    Node* node = nodeOf(index);
    if (!node->children.empty()) {
        beginRemoveRows(index, 0, int(node->children.size()) - 1);
        node->children.clear();
        endRemoveRows();
    }
    node->listed = false;
}

QModelIndex FolderTreeModel::index(int row, int column, const QModelIndex& parent) const {
    const Node* node = nodeOf(parent);
    if (column != 0 || row < 0 || row >= int(node->children.size()))
        return {};
    return createIndex(row, 0, node->children[size_t(row)].get());
}

QModelIndex FolderTreeModel::parent(const QModelIndex& child) const {
    if (!child.isValid())
        return {};
    Node* up = nodeOf(child)->parent;
    return up == m_top.get() ? QModelIndex() : createIndex(up->row, 0, up);
}

int FolderTreeModel::rowCount(const QModelIndex& parent) const {
    return parent.column() > 0 ? 0 : int(nodeOf(parent)->children.size());
}

int FolderTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

QVariant FolderTreeModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return DisplayText(nodeOf(index)->name);
    if (role == Qt::DecorationRole)
        return m_icon;
    return {};
}

// A folder not yet opened may have folders in it; it shows so until it is listed.
bool FolderTreeModel::hasChildren(const QModelIndex& parent) const {
    const Node* node = nodeOf(parent);
    return !node->listed || !node->children.empty();
}

bool FolderTreeModel::canFetchMore(const QModelIndex& parent) const {
    return !nodeOf(parent)->listed;
}

void FolderTreeModel::fetchMore(const QModelIndex& parent) {
    Node* node = nodeOf(parent);
    if (node->listed)
        return;
    node->listed = true;
    QByteArray folder = pathOf(parent);
    if (!folder.endsWith('/'))
        folder += '/';
    std::vector<std::pair<QString, QByteArray>> names;
    for (const FolderEntry& entry : listFolder(folder)) {
        if (entry.folder && !isHiddenName(entry.name))
            names.emplace_back(DisplayText(entry.name), entry.name);
    }
    if (names.empty())
        return;
    std::sort(names.begin(), names.end(), [](const auto& a, const auto& b) {
        const int byText = a.first.compare(b.first, Qt::CaseInsensitive);
        return byText != 0 ? byText < 0 : a.second < b.second;
    });
    beginInsertRows(parent, 0, int(names.size()) - 1);
    for (auto& [text, name] : names) {
        auto child = std::make_unique<Node>();
        child->name = std::move(name);
        child->parent = node;
        child->row = int(node->children.size());
        node->children.push_back(std::move(child));
    }
    endInsertRows();
}
