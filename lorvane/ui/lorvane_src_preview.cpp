// The main window's preview of the name patterns and the report of the last scan.
#include "MainWindow.h"

#include "NamePreviewPanel.h"
#include "ui_MainWindow.h"

#include "building/NameText.h"
#include "store/Scanner.h"

#include <QGridLayout>
#include <QItemSelectionModel>
#include <QPushButton>

using namespace lorvane;

void TForm1::buildPreview() {
    Ui::TForm1* u = m_ui.get();
    // The preview takes the folder tree's place while it is shown.
    m_preview = new NamePreviewPanel(u->AddPanel);
    m_preview->setObjectName(QStringLiteral("PreviewPanel"));
    m_preview->hide();
    u->AddPanelLayout->addWidget(m_preview, 2, 0);
    PreviewButton = new QPushButton(QStringLiteral("Previe&w"), u->AddPanel);
    PreviewButton->setObjectName(QStringLiteral("PreviewButton"));
    PreviewButton->setCheckable(true);
    u->AddPanelLayout->addWidget(PreviewButton, 3, 1);
    connect(PreviewButton, &QPushButton::toggled, this, &TForm1::PreviewButtonClick);

    const auto follow = [this] { updatePreview(); };
    for (QCheckBox* box :
         {u->TrackFormat, u->BracketFormat, u->CustomFormat, u->DashFormat, u->Recurse})
        connect(box, &QCheckBox::toggled, this, follow);
    connect(u->XEdit, &QLineEdit::textChanged, this, follow);
    connect(u->CustomDir, &QLineEdit::textChanged, this, follow);
    connect(u->Drive, &QComboBox::currentIndexChanged, this, follow);
    connect(u->DirList->selectionModel(), &QItemSelectionModel::currentChanged, this, follow);
    connect(m_preview, &NamePreviewPanel::rootSourceChanged, this, follow);
    // Closing the add panel ends the search; opening it again starts afresh. The panel's
    // own toggle has run by now.
    connect(u->AddMP3s, &QPushButton::clicked, this, [this] {
        if (m_ui->AddPanel->isHidden())
            m_preview->reset();
        else
            updatePreview();
    });

    // One line under the lists; hidden until the first scan, so the lists keep their room.
    ScanReport = new QPushButton(this);
    ScanReport->setObjectName(QStringLiteral("ScanReport"));
    ScanReport->setFlat(true);
    ScanReport->setStyleSheet(QStringLiteral("text-align: left"));
    ScanReport->hide();
    u->ListsLayout->addWidget(ScanReport, 4, 0, 1, 3);
    connect(ScanReport, &QPushButton::clicked, this, &TForm1::ScanReportClick);
}

void TForm1::PreviewButtonClick(bool on) {
    m_ui->DirList->setVisible(!on);
    m_preview->setVisible(on);
    if (on)
        updatePreview();
    else
        m_preview->reset();
}

void TForm1::updatePreview() {
    if (!PreviewButton || !PreviewButton->isChecked())
        return;
    NamePreviewPanel::Request request;
    request.recurse = m_ui->Recurse->isChecked();
    // The roots the three add buttons would scan.
    switch (m_preview->rootSource()) {
    case NamePreviewPanel::FolderTree:
        request.root = dirListFolder();
        if (request.root.isEmpty())
            return;
        break;
    case NamePreviewPanel::Drive: {
        const int drive = m_ui->Drive->currentIndex();
        if (drive < 0 || drive >= m_mounts.size())
            return;
        request.root = m_mounts[drive].root;
        request.sameFileSystem = true;
        break;
    }
    case NamePreviewPanel::SpecificDir:
        request.root = NameBytes(m_ui->CustomDir->text());
        if (request.root.isEmpty())
            request.root = "/";
        break;
    }
    if (!request.root.endsWith('/'))
        request.root += '/';
    m_preview->preview(request, patterns());
}

void TForm1::showScanReport(const OrganizeResult& r) {
    m_unnamedGenre = r.unnamed > 0 ? r.unnamedGenre : QByteArray();
    QString text = QStringLiteral("Last scan: ") + ScanSummary(r);
    if (r.unnamed > 0)
        text += QStringLiteral(" (click to see %1)").arg(QString::fromLatin1(UnknownArtist));
    ScanReport->setText(text);
    ScanReport->setEnabled(r.unnamed > 0);
    ScanReport->show();
}

void TForm1::ScanReportClick() {
    TListBox* genres = m_ui->GenreList;
    const int genre = genres->rowOfBytes(m_unnamedGenre);
    if (m_unnamedGenre.isEmpty() || genre < 0)
        return;
    genres->setCurrentRow(genre, QItemSelectionModel::ClearAndSelect);
    GenreListClick();
    TListBox* artists = m_ui->ArtistList;
    const int artist = artists->rowOfBytes(QByteArray(UnknownArtist));
    if (artist < 0)
        return;
    artists->setCurrentRow(artist, QItemSelectionModel::ClearAndSelect);
    ArtistListClick();
}
