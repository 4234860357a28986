#pragma once

#include <QAbstractItemModel>
#include <QByteArray>
#include <QIcon>

#include <memory>

// The add panel's folder tree, over the folders' exact bytes. A folder whose name is
// not valid UTF-8 reads legibly in the tree and still hands the scan its own bytes,
// which a tree over text paths cannot do. A folder is listed when it is first opened;
// hidden folders (names starting with ".") are left out.
//
// How to use: set it on a tree view, make a drive's root the view's root with
// indexOf(root), and take the chosen folder back with pathOf().
class FolderTreeModel : public QAbstractItemModel {
    Q_OBJECT

public:
    explicit FolderTreeModel(QObject* parent = nullptr);
    ~FolderTreeModel() override;

    // The folder at an absolute path ("/" and "/a/b", a final "/" or not), with the
    // folders on the way and the folder itself listed; invalid when it is not there.
    QModelIndex indexOf(const QByteArray& folder);
    // The folder's path bytes; "/" ends only the top folder.
    QByteArray pathOf(const QModelIndex& index) const;
    // Drops what is known below index, so that it is listed afresh when next opened:
    // the tree does not watch the disk.
    void forget(const QModelIndex& index);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    struct Node;
    Node* nodeOf(const QModelIndex& index) const;

    std::unique_ptr<Node> m_top; // not shown; its one folder is "/"
    QIcon m_icon;
};
