#pragma once

#include <QFrame>

class QVariantAnimation;

// The spinning dots of the busy indicator.
class TAnimacionOcupado : public QWidget {
    Q_OBJECT
  public:
    explicit TAnimacionOcupado(QWidget* parent = nullptr);
    void Iniciar();
    void Detener();
    bool Animando() const;

  protected:
    void paintEvent(QPaintEvent* e) override;

  private:
    QVariantAnimation* FGiro;
    int FPaso = 0;
};

// `pnlanim`: a white 67 × 67 panel laid over the result browser while a query runs,
// holding the animation `imgAnim`.
class TIndicadorOcupado : public QFrame {
    Q_OBJECT
  public:
    static constexpr int kLado = 67;
    explicit TIndicadorOcupado(QWidget* parent = nullptr);
    void Mostrar();
    void Ocultar();
    // Top-left corner, in window coordinates, of an indicator of `lado` centred across
    // the window and at one third of its height (integer halves and thirds).
    static QPoint Posicion(const QSize& ventana, const QSize& lado);

    TAnimacionOcupado* imgAnim;
};
