#pragma once

#include <QObject>
#include <QPointer>
#include <QUrl>
#include <QWidget>

class QWebEngineView;

// Loads pages into a browser only once the browser is on screen. The browser engine
// (its helper processes and their memory) then starts the first time the user looks at
// a web page, not with the window or with every track, and a page the user never opens
// costs nothing. Until then the last address asked for waits here.
class TCargaAlMostrar : public QObject {
    Q_OBJECT
  public:
    // The loader of `view`, made on first use (best right after the view is put in its
    // page); it lives as the view's child.
    static TCargaAlMostrar* De(QWebEngineView* view);

    // Loads `url` as soon as the browser is on screen (at once when it is, once control
    // is back in the event loop). An empty page is loaded at once into a browser that
    // holds a page, which frees it, and not at all into one that never started.
    void Navegar(const QUrl& url);
    // Loads the waiting address now, on screen or not (printing, pictures).
    void CargarYa();
    // The address the browser shows or will show; empty when none was asked for.
    QUrl Destino() const;
    bool Pendiente() const { return FPendiente; }
    // Whether this browser has loaded anything yet (its engine is running).
    bool Iniciado() const { return FIniciado; }

  signals:
    // Just before the browser is pointed at `url`: the last moment to prepare its page.
    void AntesDeCargar(const QUrl& url);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    explicit TCargaAlMostrar(QWebEngineView* view);
    void cargar(const QUrl& url);
    void comprobarMasTarde();
    QPointer<QWebEngineView> FVista;
    QPointer<QWidget> FVigilado; // the browser's page, or the browser when it has none
    QUrl FDestino;
    bool FPendiente = false;
    bool FIniciado = false;
};
