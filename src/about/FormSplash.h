#pragma once

#include <QWidget>
#include <functional>

class QFrame;
class QPixmap;
class QSize;
class QString;
class QLabel;
class QPlainTextEdit;
class QUrl;

// A picture drawn from an SVG resource at the given size, transparent around it.
QPixmap DibujarSvg(const QString& recurso, const QSize& tamano);

// The about window: the program's landscape cut to its hill outline, a white panel with
// the program text, credits and links. Each opening creates a new window, freed when it
// closes; a click on the picture, the panel or a text box closes it, a link does not.
class TFSplash : public QWidget {
    Q_OBJECT
  public:
    explicit TFSplash(QWidget* parent = nullptr);

    // Opens an address in the desktop's browser or mail program, false when nothing could
    // open it; tests replace it.
    static std::function<bool(const QUrl&)> AbrirDireccion;
    // Tells the user that a link could not be opened (a warning box over the window).
    static std::function<void(QWidget*, const QString&)> AvisarFallo;

    // The mail link's address: a new message to the author with the subject
    // "Sobre Senderal... " and an empty body.
    static QUrl DireccionCorreo();

    QLabel* Image1;
    QFrame* Panel1;
    QLabel* Image2;
    QLabel* Image3;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* lblLabelLinkBabel;
    QPlainTextEdit* Memo1;
    QPlainTextEdit* Memo2;
    QPlainTextEdit* Memo3;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void abrir(const QUrl& direccion);
    QLabel* crearEnlace(const QString& nombre, const QString& texto, const QUrl& direccion,
                        Qt::Alignment alineacion);
    QPlainTextEdit* crearTexto(const QString& nombre, const QStringList& lineas);
    void RecortarSilueta();
};
