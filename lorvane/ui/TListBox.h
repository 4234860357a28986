#pragma once

#include "HeldKeys.h"

#include <QByteArray>
#include <QListWidget>
#include <QVariant>

// A list box of the main window: always sorted without regard to letter case, with the
// focused entry ("item index") apart from the selection, and click, double-click and
// key events as the window's handlers expect them: click() whenever the user's mouse or
// keys change the focus or the selection, keyDown() before and keyUp() after a key
// pressed here. Only the left button moves the focus or the selection.
class TListBox : public QListWidget {
    Q_OBJECT
public:
    // Item data: the name's bytes (genres, artists) or the line index (songs), and what
    // else the window keeps with an entry.
    static constexpr int DataRole = Qt::UserRole;
    static constexpr int ExtraRole = Qt::UserRole + 1;

    explicit TListBox(QWidget* parent = nullptr);

    // Room for a name of about twenty letters.
    QSize sizeHint() const override;

    struct Entry {
        QString text;
        QVariant data;
        QVariant extra = {};
    };

    // Replaces the entries; the focus goes to the first one, nothing selected.
    void fill(const QList<Entry>& entries);
    // Adds one entry at its sorted place; focus and selection stay on their entries.
    int addEntry(const QString& text, const QVariant& data);
    void clearEntries();

    // The focused entry, -1 when the list is empty.
    int itemIndex() const;
    // Focuses row without touching the selection.
    void setItemIndex(int row);

    QVariant dataAt(int row) const;
    QByteArray bytesAt(int row) const { return dataAt(row).toByteArray(); }
    QString textAt(int row) const;
    bool isRowSelected(int row) const;
    void setRowSelected(int row, bool selected);
    int selCount() const;
    // Removes row; the focus stays on the same position (clamped).
    void removeRow(int row);
    // The row holding these bytes, -1 when none.
    int rowOfBytes(const QByteArray& bytes) const;

signals:
    void click();
    void dblClick();
    void keyDown(int key);
    void keyUp(int key);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool m_pressedOnItem = false;
    HeldKeys m_held;
};
