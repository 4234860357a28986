// FakeClipboard.h: FakeClipboard, a clipboard holding an image or text the test puts there.
#pragma once

#include "printing/Clipboard.h"

class FakeClipboard : public Clipboard {
public:
    bool hasImage() const override { return m_hasImage; }
    QImage image() const override { return m_image; }
    void setImage(const QImage& image) {
        m_image = image;
        m_hasImage = true;
    }
    void setText() {
        m_image = QImage();
        m_hasImage = false;
    }

private:
    QImage m_image;
    bool m_hasImage = false;
};
