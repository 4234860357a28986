#pragma once

#include "printing/Clipboard.h"

// The system clipboard's image data.
class QtClipboard : public Clipboard {
public:
    bool hasImage() const override;
    QImage image() const override;
};
