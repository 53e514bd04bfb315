#pragma once

#include <QColor>
#include <QToolButton>

// A colour chooser for the ribbon: shows the chosen colour, opens the colour dialog.
class TColorBox : public QToolButton {
    Q_OBJECT
  public:
    explicit TColorBox(const QColor& initial, QWidget* parent = nullptr);

    QColor Selected() const { return FColor; }
    void SetSelected(const QColor& color); // emits Cambiado when it changes

    // Colour values as stored: 0x00BBGGRR.
    static int EnteroDesdeColor(const QColor& c) {
        return c.red() | (c.green() << 8) | (c.blue() << 16);
    }
    static QColor ColorDesdeEntero(int v) {
        return QColor(v & 0xff, (v >> 8) & 0xff, (v >> 16) & 0xff);
    }

  signals:
    void Cambiado(const QColor& color);

  private:
    void pintar();
    QColor FColor;
};
