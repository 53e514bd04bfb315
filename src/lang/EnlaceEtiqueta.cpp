#include "EnlaceEtiqueta.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>

namespace {
class TFiltroClic : public QObject {
  public:
    TFiltroClic(QLabel* label, std::function<void()> onClick)
        : QObject(label), FOnClick(std::move(onClick)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
            auto* label = static_cast<QLabel*>(watched);
            if (label->rect().contains(static_cast<QMouseEvent*>(e)->position().toPoint()))
                FOnClick();
            return true;
        }
        return QObject::eventFilter(watched, e);
    }

  private:
    std::function<void()> FOnClick;
};
} // namespace

void ConvertirEnEnlace(QLabel* label, std::function<void()> onClick) {
    label->setTextFormat(Qt::PlainText);
    QFont font = label->font();
    font.setUnderline(true);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
    label->setPalette(palette);
    label->setCursor(Qt::PointingHandCursor);
    label->installEventFilter(new TFiltroClic(label, std::move(onClick)));
}
