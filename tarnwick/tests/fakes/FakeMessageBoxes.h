// FakeMessageBoxes.h: FakeMessageBoxes, message boxes that record what they show.
#pragma once

#include "printing/MessageBoxes.h"

#include <QList>
#include <QStringList>

#include <functional>

class FakeMessageBoxes : public MessageBoxes {
public:
    void show(const QString& text, MessageIcon icon, const QString& title) override {
        texts.append(text);
        icons.append(icon);
        titles.append(title);
        if (onShow)
            onShow();
    }
    QStringList texts;
    QList<MessageIcon> icons;
    QStringList titles;
    std::function<void()> onShow;
};
