#include "IndicadorOcupado.h"

#include <QPainter>
#include <QVBoxLayout>
#include <QVariantAnimation>

namespace {
constexpr int kPuntos = 12;
}

TAnimacionOcupado::TAnimacionOcupado(QWidget* parent)
    : QWidget(parent), FGiro(new QVariantAnimation(this)) {
    setObjectName(QStringLiteral("imgAnim"));
    FGiro->setStartValue(0);
    FGiro->setEndValue(kPuntos);
    FGiro->setDuration(1000);
    FGiro->setLoopCount(-1);
    connect(FGiro, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
        const int paso = v.toInt() % kPuntos;
        if (paso != FPaso) {
            FPaso = paso;
            update();
        }
    });
}

void TAnimacionOcupado::Iniciar() {
    FGiro->start();
}
void TAnimacionOcupado::Detener() {
    FGiro->stop();
}
bool TAnimacionOcupado::Animando() const {
    return FGiro->state() == QAbstractAnimation::Running;
}

void TAnimacionOcupado::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(width() / 2.0, height() / 2.0);
    const double radio = qMin(width(), height()) / 2.0 - 6;
    p.setPen(Qt::NoPen);
    for (int i = 0; i < kPuntos; ++i) {
        // The leading dot is darkest; the ones behind it fade out.
        const int atras = (FPaso - i + kPuntos) % kPuntos;
        QColor c(0x2a, 0x6f, 0xb5);
        c.setAlphaF(1.0 - atras / double(kPuntos) * 0.85);
        p.setBrush(c);
        p.save();
        p.rotate(360.0 * i / kPuntos);
        p.drawEllipse(QPointF(0, -radio), 4, 4);
        p.restore();
    }
}

TIndicadorOcupado::TIndicadorOcupado(QWidget* parent)
    : QFrame(parent), imgAnim(new TAnimacionOcupado(this)) {
    setObjectName(QStringLiteral("pnlanim"));
    setFixedSize(kLado, kLado);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    auto* caja = new QVBoxLayout(this);
    caja->setContentsMargins(4, 4, 4, 4);
    caja->addWidget(imgAnim);
    hide();
}

void TIndicadorOcupado::Mostrar() {
    raise();
    show();
    imgAnim->Iniciar();
}

void TIndicadorOcupado::Ocultar() {
    hide();
    imgAnim->Detener();
}

QPoint TIndicadorOcupado::Posicion(const QSize& ventana, const QSize& lado) {
    return {ventana.width() / 2 - lado.width() / 2, ventana.height() / 3 - lado.height() / 2};
}
