#pragma once

#include "platform/MessageBoxes.h"

class QtMessageBoxes : public MessageBoxes {
public:
    void show(const QString& text, MessageIcon icon, const QString& title) override;
};
