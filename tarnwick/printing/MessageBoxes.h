#pragma once

#include <QString>

enum class MessageIcon { None, Information, Exclamation, Critical };

// Message boxes with an OK button; show() returns when the box is closed.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;

    virtual void show(const QString& text, MessageIcon icon, const QString& title) = 0;
};
