#include "VistaPerfil.h"

#include <QScrollBar>
#include <algorithm>

TVistaPerfil::TVistaPerfil(QWidget* chart, QWidget* parent) : QScrollArea(parent) {
    setObjectName(QStringLiteral("sbPerfil"));
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(false);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setWidget(chart);
    ajustar();
}

void TVistaPerfil::SetZoom(int percent) {
    if (percent < 1)
        return;
    FZoom = percent;
    ajustar();
}

void TVistaPerfil::resizeEvent(QResizeEvent* e) {
    QScrollArea::resizeEvent(e);
    ajustar();
}

void TVistaPerfil::ajustar() {
    if (!widget())
        return;
    // The bar's own height is taken from the page once the chart is wider than it, so the
    // height is worked out from the width the chart gets.
    const int ancho = std::max(1, int(qint64(width()) * FZoom / 100));
    const int barra = ancho > width() ? horizontalScrollBar()->sizeHint().height() : 0;
    widget()->setFixedSize(ancho, std::max(1, height() - barra));
}
