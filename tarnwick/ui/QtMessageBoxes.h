#pragma once

#include "printing/MessageBoxes.h"

class QtMessageBoxes : public MessageBoxes {
public:
    void show(const QString& text, MessageIcon icon, const QString& title) override;
};
