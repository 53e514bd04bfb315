#include "ColorBox.h"

#include <QColorDialog>
#include <QPainter>
#include <QPixmap>

TColorBox::TColorBox(const QColor& initial, QWidget* parent)
    : QToolButton(parent), FColor(initial) {
    setAutoRaise(false);
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    setIconSize(QSize(36, 12));
    connect(this, &QToolButton::clicked, this, [this] {
        const QColor c = QColorDialog::getColor(FColor, this);
        if (c.isValid())
            SetSelected(c);
    });
    pintar();
}

void TColorBox::SetSelected(const QColor& color) {
    if (!color.isValid() || color == FColor)
        return;
    FColor = color;
    pintar();
    emit Cambiado(FColor);
}

void TColorBox::pintar() {
    QPixmap pm(iconSize());
    pm.fill(FColor);
    QPainter p(&pm);
    p.setPen(Qt::darkGray);
    p.drawRect(pm.rect().adjusted(0, 0, -1, -1));
    setIcon(QIcon(pm));
}
