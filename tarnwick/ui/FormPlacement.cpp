#include "FormPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

void CentreOnScreen(QWidget* form) {
    QScreen* screen = form->screen() ? form->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = form->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    form->move(frame.topLeft());
}

void SetPointSizeF(QWidget* widget, double pointSize) {
    QFont font = widget->font();
    font.setPointSizeF(pointSize);
    widget->setFont(font);
}
