#include "TListBox.h"

#include "store/ListOrder.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>

namespace {

// An entry that sorts by the list's rule, ties broken by a whole-number item data.
class SortedItem : public QListWidgetItem {
public:
    using QListWidgetItem::QListWidgetItem;
    bool operator<(const QListWidgetItem& other) const override {
        const QVariant a = data(TListBox::DataRole), b = other.data(TListBox::DataRole);
        const bool numbers = a.typeId() == QMetaType::Int && b.typeId() == QMetaType::Int;
        return lorvane::ListLess(text(), other.text(), numbers ? a.toInt() : 0,
                                 numbers ? b.toInt() : 0);
    }
};

} // namespace

TListBox::TListBox(QWidget* parent) : QListWidget(parent) {
    setSortingEnabled(true);
}

QSize TListBox::sizeHint() const {
    constexpr int Narrowest = 160;
    return {std::max(Narrowest, 20 * fontMetrics().averageCharWidth() + 2 * frameWidth()),
            QListWidget::sizeHint().height()};
}

void TListBox::fill(const QList<Entry>& entries) {
    setSortingEnabled(false);
    clear();
    for (const Entry& e : entries) {
        auto* item = new SortedItem(e.text);
        item->setData(DataRole, e.data);
        addItem(item);
    }
    setSortingEnabled(true);
    sortItems();
    setItemIndex(count() > 0 ? 0 : -1);
}

int TListBox::addEntry(const QString& text, const QVariant& data) {
    auto* item = new SortedItem(text);
    item->setData(DataRole, data);
    const int focused = itemIndex();
    QListWidgetItem* focusedItem = focused >= 0 ? this->item(focused) : nullptr;
    addItem(item);
    if (focusedItem)
        setCurrentItem(focusedItem, QItemSelectionModel::NoUpdate);
    else
        setItemIndex(0);
    return row(item);
}

void TListBox::clearEntries() {
    clear();
}

int TListBox::itemIndex() const {
    if (count() == 0)
        return -1;
    return currentRow();
}

void TListBox::setItemIndex(int row) {
    if (row < 0 || row >= count()) {
        setCurrentRow(-1, QItemSelectionModel::NoUpdate);
        return;
    }
    setCurrentRow(row, QItemSelectionModel::NoUpdate);
}

QVariant TListBox::dataAt(int row) const {
    const QListWidgetItem* it = item(row);
    return it ? it->data(DataRole) : QVariant();
}

QString TListBox::textAt(int row) const {
    const QListWidgetItem* it = item(row);
    return it ? it->text() : QString();
}

bool TListBox::isRowSelected(int row) const {
    const QListWidgetItem* it = item(row);
    return it && it->isSelected();
}

void TListBox::setRowSelected(int row, bool selected) {
    if (QListWidgetItem* it = item(row))
        it->setSelected(selected);
}

int TListBox::selCount() const {
    return int(selectedItems().size());
}

void TListBox::removeRow(int row) {
    if (row < 0 || row >= count())
        return;
    const int focused = itemIndex();
    delete takeItem(row);
    if (count() == 0)
        return;
    // The entries below move up one place; the focus keeps its position.
    int next = focused > row ? focused - 1 : focused;
    setItemIndex(std::clamp(next, 0, count() - 1));
}

int TListBox::rowOfBytes(const QByteArray& bytes) const {
    for (int r = 0; r < count(); ++r) {
        if (bytesAt(r) == bytes)
            return r;
    }
    return -1;
}

void TListBox::mousePressEvent(QMouseEvent* event) {
    // The context menu acts on the focused entry, and the other lists show what belongs
    // to it: a right or middle click leaves both focus and selection where they are.
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    m_pressedOnItem = indexAt(event->position().toPoint()).isValid();
    QListWidget::mousePressEvent(event);
}

void TListBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    QListWidget::mouseReleaseEvent(event);
    if (m_pressedOnItem)
        emit click();
    m_pressedOnItem = false;
}

void TListBox::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    QListWidget::mouseDoubleClickEvent(event);
    if (indexAt(event->position().toPoint()).isValid())
        emit dblClick();
}

void TListBox::keyPressEvent(QKeyEvent* event) {
    m_held.press(event);
    emit keyDown(event->key());
    const int before = currentRow();
    const QList<QListWidgetItem*> selectedBefore = selectedItems();
    QListWidget::keyPressEvent(event);
    if (currentRow() != before || selectedItems() != selectedBefore)
        emit click();
}

void TListBox::keyReleaseEvent(QKeyEvent* event) {
    QListWidget::keyReleaseEvent(event);
    if (m_held.release(event))
        emit keyUp(event->key());
}

void TListBox::focusOutEvent(QFocusEvent* event) {
    m_held.clear();
    QListWidget::focusOutEvent(event);
}
