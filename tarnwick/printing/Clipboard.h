#pragma once

#include <QImage>

// The clipboard as the print reads it: only ever read, never changed.
class Clipboard {
public:
    virtual ~Clipboard() = default;

    virtual bool hasImage() const = 0;
    virtual QImage image() const = 0;
};
