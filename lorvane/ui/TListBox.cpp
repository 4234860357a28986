#include "TListBox.h"

#include "store/ListOrder.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalBlocker>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// The whole-number item data that breaks ties between texts equal apart from case.
int tieOf(const QVariant& data) {
    return data.typeId() == QMetaType::Int ? data.toInt() : 0;
}

// What the list's order compares of an entry. Comparing texts without regard to case is
// most of the cost of sorting thousands of entries; for the usual plain ASCII text it is
// comparing the texts with A to Z lowered, done once per entry.
struct SortKey {
    std::string folded; // ASCII texts only
    bool ascii = true;
    int tie = 0;

    static SortKey of(const TListBox::Entry& e) {
        SortKey key;
        key.tie = tieOf(e.data);
        key.folded.reserve(size_t(e.text.size()));
        for (const QChar c : e.text) {
            const char16_t u = c.unicode();
            if (u >= 0x80) {
                key.ascii = false;
                key.folded.clear();
                break;
            }
            key.folded.push_back(char(u >= 'A' && u <= 'Z' ? u + ('a' - 'A') : u));
        }
        return key;
    }
};

// An entry keeps its data in members: a list item's general store of roles costs more
// than the rest of a fill.
class EntryItem : public QListWidgetItem {
public:
    explicit EntryItem(const TListBox::Entry& e)
        : QListWidgetItem(e.text), m_data(e.data), m_extra(e.extra) {}

    QVariant data(int role) const override {
        if (role == TListBox::DataRole)
            return m_data;
        if (role == TListBox::ExtraRole)
            return m_extra;
        return QListWidgetItem::data(role);
    }
    void setData(int role, const QVariant& value) override {
        if (role == TListBox::DataRole)
            m_data = value;
        else if (role == TListBox::ExtraRole)
            m_extra = value;
        else
            QListWidgetItem::setData(role, value);
    }

private:
    QVariant m_data;
    QVariant m_extra;
};

} // namespace

// The list keeps its order itself rather than through Qt's sorting, which compares item
// data on every insert and change; with thousands of songs that was most of a click.
// Entries are single lines of one font, so measuring one measures them all.
TListBox::TListBox(QWidget* parent) : QListWidget(parent) {
    setUniformItemSizes(true);
}

QSize TListBox::sizeHint() const {
    constexpr int Narrowest = 160;
    return {std::max(Narrowest, 20 * fontMetrics().averageCharWidth() + 2 * frameWidth()),
            QListWidget::sizeHint().height()};
}

void TListBox::fill(const QList<Entry>& entries) {
    std::vector<SortKey> keys;
    keys.reserve(entries.size());
    std::vector<int> order;
    order.reserve(entries.size());
    for (int i = 0; i < entries.size(); ++i) {
        keys.push_back(SortKey::of(entries[i]));
        order.push_back(i);
    }
    std::sort(order.begin(), order.end(), [&entries, &keys](int a, int b) {
        const SortKey& ka = keys[size_t(a)];
        const SortKey& kb = keys[size_t(b)];
        if (ka.ascii && kb.ascii) {
            if (const int c = ka.folded.compare(kb.folded))
                return c < 0;
        }
        return lorvane::ListLess(entries[a].text, entries[b].text, ka.tie, kb.tie);
    });
    clear();
    {
        // The view hears of the new entries all at once rather than one by one.
        const QSignalBlocker quiet(model());
        for (const int i : order)
            addItem(new EntryItem(entries[i]));
    }
    reset();
    setItemIndex(count() > 0 ? 0 : -1);
}

int TListBox::addEntry(const QString& text, const QVariant& value) {
    const int tie = tieOf(value);
    int low = 0, high = count();
    while (low < high) {
        const int mid = (low + high) / 2;
        if (lorvane::ListLess(textAt(mid), text, tieOf(dataAt(mid)), tie))
            low = mid + 1;
        else
            high = mid;
    }
    const int focused = itemIndex();
    QListWidgetItem* focusedItem = focused >= 0 ? this->item(focused) : nullptr;
    insertItem(low, new EntryItem({text, value, {}}));
    if (focusedItem)
        setCurrentItem(focusedItem, QItemSelectionModel::NoUpdate);
    else
        setItemIndex(0);
    return low;
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
