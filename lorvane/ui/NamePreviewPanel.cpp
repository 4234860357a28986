#include "NamePreviewPanel.h"

#include "ui_NamePreviewPanel.h"

#include "building/NameText.h"

#include <QHeaderView>
#include <QLocale>
#include <QThread>

using namespace lorvane;

NamePreviewPanel::NamePreviewPanel(QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::NamePreviewPanel>()),
      m_stop(std::make_shared<std::atomic<bool>>(false)) {
    ui->setupUi(this);
    // The panel has the folder tree's room and no more: the columns share its width and
    // the rows are one line high, so the window keeps its size.
    QTableWidget* table = ui->PreviewTable;
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table->horizontalHeader()->setSectionResizeMode(3, QHeaderView::ResizeToContents);
    table->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    table->setMinimumHeight(0);
    table->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    ui->PreviewSummary->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    connect(ui->PreviewRoot, &QComboBox::currentIndexChanged, this,
            &NamePreviewPanel::rootSourceChanged);
    connect(ui->StopPreview, &QPushButton::clicked, this, &NamePreviewPanel::stop);
}

NamePreviewPanel::~NamePreviewPanel() {
    m_stop->store(true);
    for (const QPointer<QThread>& thread : std::as_const(m_threads)) {
        if (thread) {
            thread->wait();
            delete thread.data();
        }
    }
}

NamePreviewPanel::RootSource NamePreviewPanel::rootSource() const {
    return RootSource(ui->PreviewRoot->currentIndex());
}

void NamePreviewPanel::preview(const Request& request, const NamePatterns& patterns) {
    m_patterns = patterns;
    if (m_request != request) {
        m_request = request;
        m_stop->store(true);
        m_stop = std::make_shared<std::atomic<bool>>(false);
        m_haveFiles = false;
        m_files.clear();
        startJob(std::nullopt);
    } else if (m_haveFiles) {
        startJob(m_files);
    }
    // Otherwise the search under way reads its files with the newest patterns when done.
}

void NamePreviewPanel::stop() {
    m_stop->store(true);
}

void NamePreviewPanel::reset() {
    stop();
    m_request.reset();
}

void NamePreviewPanel::startJob(const std::optional<QByteArrayList>& files) {
    const int generation = ++m_generation;
    const Request request = *m_request;
    const NamePatterns patterns = m_patterns;
    const std::shared_ptr<std::atomic<bool>> stop = m_stop;
    const bool stoppedBefore = m_searchStopped;
    if (!files) {
        m_searching = true;
        ui->StopPreview->setEnabled(true);
        ui->PreviewSummary->setText(QStringLiteral("Getting files..."));
    }
    QThread* thread =
        QThread::create([this, generation, request, patterns, stop, stoppedBefore, files] {
            QByteArrayList found;
            if (files) {
                found = *files;
            } else {
                int lines = 0;
                // Every hundredth progress line is enough to show that the search moves.
                const CaptionSink progress = [this, generation, &lines](const QString& text) {
                    if (lines++ % 100 != 0)
                        return;
                    QMetaObject::invokeMethod(
                        this,
                        [this, generation, text] {
                            if (generation == m_generation)
                                ui->PreviewSummary->setText(text);
                        },
                        Qt::QueuedConnection);
                };
                found = PreviewFiles(request.root, request.recurse, request.sameFileSystem,
                                     stop.get(), progress);
            }
            NamePreview preview = PreviewNames(found, patterns);
            preview.stopped = files ? stoppedBefore : stop->load();
            // The window outlives this thread (its destructor waits), and an event for a
            // window that is gone is dropped with it.
            QMetaObject::invokeMethod(
                this,
                [this, generation, found, preview, patterns] {
                    jobDone(generation, found, preview, patterns);
                },
                Qt::QueuedConnection);
        });
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    m_threads.removeAll(nullptr);
    m_threads.append(thread);
    thread->start(QThread::LowPriority);
}

void NamePreviewPanel::jobDone(int generation, const QByteArrayList& files,
                               const NamePreview& preview, const NamePatterns& patterns) {
    if (generation != m_generation)
        return;
    m_files = files;
    m_haveFiles = true;
    m_searchStopped = preview.stopped;
    m_searching = false;
    ui->StopPreview->setEnabled(false);
    if (!(patterns == m_patterns)) {
        startJob(m_files); // the switches changed while the search ran
        return;
    }
    show(preview);
}

void NamePreviewPanel::show(const NamePreview& preview) {
    m_shown = preview;
    QTableWidget* table = ui->PreviewTable;
    table->setUpdatesEnabled(false);
    table->clearContents();
    table->setRowCount(int(preview.rows.size()));
    for (int r = 0; r < int(preview.rows.size()); ++r) {
        const PreviewRow& row = preview.rows[size_t(r)];
        auto* file = new QTableWidgetItem(DisplayText(row.path.mid(row.path.lastIndexOf('/') + 1)));
        file->setToolTip(DisplayText(row.path));
        table->setItem(r, 0, file);
        table->setItem(r, 1, new QTableWidgetItem(DisplayText(row.name.artist)));
        table->setItem(r, 2, new QTableWidgetItem(DisplayText(row.name.title)));
        table->setItem(r, 3,
                       new QTableWidgetItem(QString::fromLatin1(PatternName(row.name.pattern))));
    }
    table->setUpdatesEnabled(true);
    QString summary = PreviewSummary(preview);
    if (preview.files > int(preview.rows.size()))
        summary += QStringLiteral(" (the first %1 listed)")
                       .arg(QLocale(QLocale::English, QLocale::UnitedStates)
                                .toString(qlonglong(preview.rows.size())));
    ui->PreviewSummary->setText(summary);
    emit shownChanged();
}
