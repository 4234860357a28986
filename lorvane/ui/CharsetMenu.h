#pragma once

#include <QByteArray>
#include <QMenu>

class QActionGroup;

// The File menu's choice of the character set that ID3v1 text is read and written in:
// one checkable entry per set, exactly one checked.
class CharsetMenu : public QMenu {
    Q_OBJECT

public:
    explicit CharsetMenu(QWidget* parent = nullptr);

    QByteArray charset() const;
    // Checks the entry of name (the default set's for an unknown name); no signal.
    void setCharset(const QByteArray& name);

signals:
    // The user picked another set.
    void charsetChosen(const QByteArray& name);

private:
    QActionGroup* m_group;
};
