// AddPanel.h: AddPanel, the main window's add panel: the drive, the folder tree and the
// typed folder a scan starts from, the preview of how the name patterns read the songs
// there, the scan itself, and the report of the last scan under the lists.
#pragma once

#include "MountPoints.h"

#include <QByteArray>
#include <QList>
#include <QObject>

class CollectionLists;
class FolderTreeModel;
class NamePreviewPanel;
class QPushButton;
class WindowContext;
namespace lorvane {
class AssociationSource;
struct OrganizeResult;
} // namespace lorvane

// The panel takes turns with the details panel beside the lists. A scan files what it
// found before it reports a failure, and the lists take what was filed either way.
class AddPanel : public QObject {
    Q_OBJECT
public:
    // Lists the drives and opens the folder tree on the process's current folder.
    // associations: the table a scan files artists by (may be null).
    AddPanel(WindowContext& context, CollectionLists& lists,
             lorvane::AssociationSource* associations, QObject* parent = nullptr);

    // Lets the preview follow the patterns, the roots and the panel's opening; after the
    // window's own handlers of those controls.
    void followChanges();

    // The folder the folder tree has current ("" when none).
    QByteArray dirListFolder() const;
    // Makes folder current in the folder tree; false when it does not exist.
    bool setDirListFolder(const QByteArray& folder);
    const QList<MountPoint>& mounts() const { return m_mounts; }

    NamePreviewPanel* preview() const { return m_preview; }
    // "Previe&w": the preview in place of the folder tree.
    QPushButton* previewButton() const { return m_previewButton; }
    // The last scan's counts; a click selects the songs no pattern fits.
    QPushButton* scanReport() const { return m_scanReport; }

    // Scans root (ending in "/") into the collection and applies the result.
    void AddFromFolder(const QByteArray& root, bool sameFileSystem = false);

public slots:
    void AddMp3sClick();
    void Button1Click(); // Add by Drive
    void Button4Click(); // Add by Directory (folder tree)
    void BitBtn1Click(); // Add by the typed folder
    void DriveChange();
    void PreviewButtonClick(bool on);
    void ScanReportClick();

private:
    void buildPreview();
    void updatePreview();
    void showScanReport(const lorvane::OrganizeResult& result);

    WindowContext& m_context;
    CollectionLists& m_lists;
    lorvane::AssociationSource* m_associations;
    FolderTreeModel* m_dirModel = nullptr;
    QList<MountPoint> m_mounts;
    NamePreviewPanel* m_preview = nullptr;
    QPushButton* m_previewButton = nullptr;
    QPushButton* m_scanReport = nullptr;
    QByteArray m_unnamedGenre; // where the last scan filed the names no pattern fits
};
