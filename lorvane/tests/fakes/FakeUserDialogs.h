// FakeUserDialogs.h: UserDialogs that answer from a script and record what was shown.
#pragma once

#include "UserDialogs.h"

#include <QList>

namespace lorvane {

// Dialogs answered from a script, for tests: records every text shown.
class FakeUserDialogs : public UserDialogs {
public:
    struct Shown {
        QString kind; // "confirm", "inform" or "error"
        QString title;
        QString text;
    };
    QList<Shown> shown;
    QList<bool> answers;     // next confirm() answers; No when the list runs out
    QStringList filesToOpen; // what the next openFiles() returns (then cleared)
    QString lastOpenTitle, lastOpenFilter;

    bool confirm(QWidget*, const QString& text) override {
        shown.append({QStringLiteral("confirm"), QString(), text});
        return answers.isEmpty() ? false : answers.takeFirst();
    }
    void inform(QWidget*, const QString& title, const QString& text) override {
        shown.append({QStringLiteral("inform"), title, text});
    }
    void error(QWidget*, const QString& text) override {
        shown.append({QStringLiteral("error"), QString(), text});
    }
    QStringList openFiles(QWidget*, const QString& title, const QString& filter) override {
        lastOpenTitle = title;
        lastOpenFilter = filter;
        QStringList files = filesToOpen;
        filesToOpen.clear();
        return files;
    }

    QStringList texts() const {
        QStringList all;
        for (const auto& s : shown)
            all << s.text;
        return all;
    }
};

} // namespace lorvane
