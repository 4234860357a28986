#pragma once

#include "building/NamePreview.h"
#include "files/FindFiles.h"

#include <QByteArrayList>
#include <QList>
#include <QPointer>
#include <QWidget>

#include <atomic>
#include <memory>
#include <optional>

class QThread;

namespace Ui {
class NamePreviewPanel;
}

// The add panel's preview: how a scan of the chosen root would read each file name,
// with the counts of all of them. The search runs on a worker thread and can be
// stopped; the database is never touched.
class NamePreviewPanel : public QWidget {
    Q_OBJECT

public:
    // Which of the add panel's roots the preview looks at.
    enum RootSource { FolderTree, Drive, SpecificDir };

    struct Request {
        QByteArray root; // ends in "/"
        bool recurse = true;
        bool sameFileSystem = false; // a drive's walk keeps to its file system
        bool operator==(const Request&) const = default;
    };

    explicit NamePreviewPanel(QWidget* parent = nullptr);
    // Stops the search under way and waits for it.
    ~NamePreviewPanel() override;

    RootSource rootSource() const;

    // A new request (root, recurse, file-system reach) stops the search under way and starts one;
    // the same request reads the names it found again with patterns.
    void preview(const Request& request, const lorvane::NamePatterns& patterns);
    // Ends the search under way; the files found so far are shown.
    void stop();
    // Stops and forgets the search: the next preview searches again.
    void reset();
    bool searching() const { return m_searching; }
    // What the table and the summary show.
    const lorvane::NamePreview& shown() const { return m_shown; }

signals:
    void rootSourceChanged();
    // A preview has been shown (after a search or a change of patterns).
    void shownChanged();

private:
    void startJob(const std::optional<QByteArrayList>& files);
    void jobDone(int generation, const QByteArrayList& files, const lorvane::NamePreview& preview,
                 const lorvane::NamePatterns& patterns);
    void show(const lorvane::NamePreview& preview);

    std::unique_ptr<Ui::NamePreviewPanel> ui;
    std::optional<Request> m_request;
    lorvane::NamePatterns m_patterns;
    QByteArrayList m_files; // what the finished search found
    bool m_haveFiles = false;
    bool m_searching = false;
    bool m_searchStopped = false; // the files are what a stopped search found
    int m_generation = 0;         // results of older jobs are dropped
    std::shared_ptr<std::atomic<bool>> m_stop;
    QList<QPointer<QThread>> m_threads;
    lorvane::NamePreview m_shown;
};
