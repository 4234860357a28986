#include "AddPanel.h"

#include "Captions.h"
#include "CollectionLists.h"
#include "FolderTreeModel.h"
#include "NamePreviewPanel.h"
#include "TListBox.h"
#include "WindowContext.h"
#include "ui_MainWindow.h"

#include "building/NameText.h"
#include "files/ByteFile.h"
#include "store/Scanner.h"

#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QItemSelectionModel>
#include <QMainWindow>
#include <QPushButton>
#include <QTreeView>

#include <algorithm>

using namespace lorvane;

AddPanel::AddPanel(WindowContext& context, CollectionLists& lists, AssociationSource* associations,
                   QObject* parent)
    : QObject(parent), m_context(context), m_lists(lists), m_associations(associations) {
    Ui::TForm1& u = m_context.ui;
    m_mounts = MountPoints();
    for (const MountPoint& m : m_mounts)
        u.Drive->addItem(m.label);

    m_dirModel = new FolderTreeModel(this);
    u.DirList->setModel(m_dirModel);
    // A folder closed and opened again shows the folders made meanwhile.
    connect(u.DirList, &QTreeView::collapsed, m_dirModel, &FolderTreeModel::forget);

    // The designed state: the drive and the folder of the process's current folder.
    const QByteArray here = QFile::encodeName(QDir::currentPath());
    const int drive = MountOf(m_mounts, here);
    u.Drive->setCurrentIndex(std::max(drive, 0));
    DriveChange();
    setDirListFolder(here);
    buildPreview();
}

void AddPanel::buildPreview() {
    Ui::TForm1& u = m_context.ui;
    // The preview takes the folder tree's place while it is shown.
    m_preview = new NamePreviewPanel(u.AddPanel);
    m_preview->setObjectName(QStringLiteral("PreviewPanel"));
    m_preview->hide();
    u.AddPanelLayout->addWidget(m_preview, 2, 0);
    m_previewButton = new QPushButton(QStringLiteral("Previe&w"), u.AddPanel);
    m_previewButton->setObjectName(QStringLiteral("PreviewButton"));
    m_previewButton->setCheckable(true);
    u.AddPanelLayout->addWidget(m_previewButton, 3, 1);

    // One line under the lists; hidden until the first scan, so the lists keep their room.
    m_scanReport = new QPushButton(&m_context.window);
    m_scanReport->setObjectName(QStringLiteral("ScanReport"));
    m_scanReport->setFlat(true);
    m_scanReport->setStyleSheet(QStringLiteral("text-align: left"));
    m_scanReport->hide();
    u.ListsLayout->addWidget(m_scanReport, 4, 0, 1, 3);
}

void AddPanel::followChanges() {
    Ui::TForm1& u = m_context.ui;
    const auto follow = [this] { updatePreview(); };
    for (QCheckBox* box : {u.TrackFormat, u.BracketFormat, u.CustomFormat, u.DashFormat, u.Recurse})
        connect(box, &QCheckBox::toggled, this, follow);
    connect(u.XEdit, &QLineEdit::textChanged, this, follow);
    connect(u.CustomDir, &QLineEdit::textChanged, this, follow);
    connect(u.Drive, &QComboBox::currentIndexChanged, this, follow);
    connect(u.DirList->selectionModel(), &QItemSelectionModel::currentChanged, this, follow);
    connect(m_preview, &NamePreviewPanel::rootSourceChanged, this, follow);
    // Closing the add panel ends the search; opening it again starts afresh. The panel's
    // own toggle has run by now.
    connect(u.AddMP3s, &QPushButton::clicked, this, [this] {
        if (m_context.ui.AddPanel->isHidden())
            m_preview->reset();
        else
            updatePreview();
    });
}

// ---------------------------------------------------------------- drive and folder tree

void AddPanel::DriveChange() {
    Ui::TForm1& u = m_context.ui;
    const int drive = u.Drive->currentIndex();
    if (drive < 0 || drive >= m_mounts.size())
        return;
    const QModelIndex root = m_dirModel->indexOf(m_mounts[drive].root);
    m_dirModel->forget(root);
    m_dirModel->fetchMore(root);
    u.DirList->setRootIndex(root);
    u.DirList->setCurrentIndex(QModelIndex());
}

QByteArray AddPanel::dirListFolder() const {
    const QTreeView* tree = m_context.ui.DirList;
    QModelIndex index = tree->currentIndex();
    if (!index.isValid())
        index = tree->rootIndex();
    if (!index.isValid())
        return QByteArray();
    return m_dirModel->pathOf(index);
}

bool AddPanel::setDirListFolder(const QByteArray& folder) {
    Ui::TForm1& u = m_context.ui;
    if (!ByteFile::isFolder(folder))
        return false;
    // Bytes all the way: a folder name need not be UTF-8.
    QByteArray path = folder;
    while (path.size() > 1 && path.endsWith('/'))
        path.chop(1);
    const QByteArray rootOfDrive = m_mounts.isEmpty() ? QByteArray()
                                   : u.Drive->currentIndex() >= 0
                                       ? m_mounts[u.Drive->currentIndex()].root
                                       : QByteArray();
    // A folder on another drive makes that drive current first.
    if (!(path + '/').startsWith(rootOfDrive)) {
        const int drive = MountOf(m_mounts, path);
        if (drive >= 0) {
            QSignalBlocker block(u.Drive);
            u.Drive->setCurrentIndex(drive);
            DriveChange();
        }
    }
    const QModelIndex index = m_dirModel->indexOf(path);
    if (!index.isValid())
        return false;
    u.DirList->setCurrentIndex(index);
    u.DirList->scrollTo(index);
    return true;
}

// ---------------------------------------------------------------- the panel and the scans

void AddPanel::AddMp3sClick() {
    Ui::TForm1& u = m_context.ui;
    if (u.AddMP3s->text() == QLatin1String("A&dd MP3s >>")) {
        u.AddMP3s->setText(QStringLiteral("Add &MP3s <<"));
        u.DetailsPlace->hide();
        u.AddPanel->show();
    } else {
        u.AddMP3s->setText(QStringLiteral("A&dd MP3s >>"));
        u.AddPanel->hide();
        u.DetailsPlace->show();
    }
}

void AddPanel::Button1Click() {
    const int drive = m_context.ui.Drive->currentIndex();
    if (drive >= 0 && drive < m_mounts.size())
        AddFromFolder(m_mounts[drive].root, true);
}

void AddPanel::Button4Click() {
    QByteArray root = dirListFolder();
    if (root.isEmpty())
        return;
    if (!root.endsWith('/'))
        root += '/';
    AddFromFolder(root);
}

void AddPanel::BitBtn1Click() {
    QString typed = m_context.ui.CustomDir->text();
    if (typed.isEmpty())
        typed = QStringLiteral("/");
    else if (!typed.endsWith(QLatin1Char('/')))
        typed += QLatin1Char('/');
    m_context.ui.CustomDir->setText(typed);
    AddFromFolder(NameBytes(typed));
}

void AddPanel::AddFromFolder(const QByteArray& root, bool sameFileSystem) {
    m_context.closePopup();
    m_context.whileBusy([this, &root, sameFileSystem] {
        Ui::TForm1& u = m_context.ui;
        Scanner scanner(m_context.store, m_context.captions());
        const OrganizeResult r =
            scanner.AddFromFolder(root, u.Recurse->isChecked(), m_context.patterns(),
                                  m_lists.selectedGenre(), m_associations, sameFileSystem);
        // What was filed before a failure stays filed, so the lists take it before the
        // error is shown.
        for (const QByteArray& genre : r.genresCreated) {
            if (u.GenreList->rowOfBytes(genre) < 0)
                u.GenreList->addEntry(DisplayText(genre), genre);
        }
        for (const QByteArray& artist : r.artistsToList)
            u.ArtistList->addEntry(DisplayText(artist), artist);
        m_context.setCaption(captions::ProductName);
        u.TotalA->setText(QString::number(u.ArtistList->count()));
        m_lists.ArtistListClick();
        u.TotalG->setText(QString::number(u.GenreList->count()));
        showScanReport(r);
        if (r.unstorable > 0)
            m_context.showMessage(UnstorableNotice(r.unstorable));
        if (!r.error.isEmpty())
            m_context.showError(r.error);
    });
}

// ---------------------------------------------------------------- preview and report

void AddPanel::PreviewButtonClick(bool on) {
    m_context.ui.DirList->setVisible(!on);
    m_preview->setVisible(on);
    if (on)
        updatePreview();
    else
        m_preview->reset();
}

void AddPanel::updatePreview() {
    if (!m_previewButton || !m_previewButton->isChecked())
        return;
    const Ui::TForm1& u = m_context.ui;
    NamePreviewPanel::Request request;
    request.recurse = u.Recurse->isChecked();
    // The roots the three add buttons would scan.
    switch (m_preview->rootSource()) {
    case NamePreviewPanel::FolderTree:
        request.root = dirListFolder();
        if (request.root.isEmpty())
            return;
        break;
    case NamePreviewPanel::Drive: {
        const int drive = u.Drive->currentIndex();
        if (drive < 0 || drive >= m_mounts.size())
            return;
        request.root = m_mounts[drive].root;
        request.sameFileSystem = true;
        break;
    }
    case NamePreviewPanel::SpecificDir:
        request.root = NameBytes(u.CustomDir->text());
        if (request.root.isEmpty())
            request.root = "/";
        break;
    }
    if (!request.root.endsWith('/'))
        request.root += '/';
    m_preview->preview(request, m_context.patterns());
}

void AddPanel::showScanReport(const OrganizeResult& r) {
    m_unnamedGenre = r.unnamed > 0 ? r.unnamedGenre : QByteArray();
    QString text = QStringLiteral("Last scan: ") + ScanSummary(r);
    if (r.unnamed > 0)
        text += QStringLiteral(" (click to see %1)").arg(QString::fromLatin1(UnknownArtist));
    m_scanReport->setText(text);
    m_scanReport->setEnabled(r.unnamed > 0);
    m_scanReport->show();
}

void AddPanel::ScanReportClick() {
    TListBox* genres = m_context.ui.GenreList;
    const int genre = genres->rowOfBytes(m_unnamedGenre);
    if (m_unnamedGenre.isEmpty() || genre < 0)
        return;
    genres->setCurrentRow(genre, QItemSelectionModel::ClearAndSelect);
    m_lists.GenreListClick();
    TListBox* artists = m_context.ui.ArtistList;
    const int artist = artists->rowOfBytes(QByteArray(UnknownArtist));
    if (artist < 0)
        return;
    artists->setCurrentRow(artist, QItemSelectionModel::ClearAndSelect);
    m_lists.ArtistListClick();
}
