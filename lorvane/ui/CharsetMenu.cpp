#include "CharsetMenu.h"

#include "metadata/TagCharset.h"

#include <QActionGroup>

CharsetMenu::CharsetMenu(QWidget* parent)
    : QMenu(QStringLiteral("ID3v1 C&haracter Set"), parent), m_group(new QActionGroup(this)) {
    setObjectName(QStringLiteral("Id3Charset"));
    m_group->setExclusive(true);
    for (const id3v1::CharsetChoice& choice : id3v1::charsetChoices()) {
        QAction* entry = addAction(QString::fromLatin1(choice.label));
        entry->setCheckable(true);
        entry->setData(QByteArray(choice.name));
        m_group->addAction(entry);
    }
    setCharset(id3v1::DefaultCharset);
    connect(m_group, &QActionGroup::triggered, this,
            [this](QAction* entry) { emit charsetChosen(entry->data().toByteArray()); });
}

QByteArray CharsetMenu::charset() const {
    const QAction* checked = m_group->checkedAction();
    return checked ? checked->data().toByteArray() : QByteArray(id3v1::DefaultCharset);
}

void CharsetMenu::setCharset(const QByteArray& name) {
    const QByteArray canonical = id3v1::canonicalCharset(name);
    const QByteArray known = canonical.isEmpty() ? QByteArray(id3v1::DefaultCharset) : canonical;
    for (QAction* entry : m_group->actions())
        entry->setChecked(entry->data().toByteArray() == known);
}
