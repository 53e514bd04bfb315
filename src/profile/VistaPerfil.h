#pragma once

#include <QScrollArea>

// The profile page's frame: the chart takes a chosen percentage of the page's width,
// with a scroll bar when that is wider than the page, and always the page's height.
class TVistaPerfil : public QScrollArea {
    Q_OBJECT
  public:
    TVistaPerfil(QWidget* chart, QWidget* parent = nullptr);

    int Zoom() const { return FZoom; }
    // Percent of the page's width; 100 fills the page exactly. Values below 1 are ignored.
    void SetZoom(int percent);

  protected:
    void resizeEvent(QResizeEvent* e) override;

  private:
    void ajustar();
    int FZoom = 100;
};
