#include "FormSplash.h"

#include "EnlacesSenderal.h"
#include "MotivoRed.h"
#include "SiluetaSplash.h"

#include <QDesktopServices>
#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSvgRenderer>
#include <QTextBlock>
#include <QUrl>
#include <QUrlQuery>

std::function<bool(const QUrl&)> TFSplash::AbrirDireccion = [](const QUrl& url) {
    return QDesktopServices::openUrl(url);
};

std::function<void(QWidget*, const QString&)> TFSplash::AvisarFallo = [](QWidget* ventana,
                                                                         const QString& texto) {
    QMessageBox::warning(ventana, ventana->windowTitle(), texto);
};

QPixmap DibujarSvg(const QString& recurso, const QSize& tamano) {
    QPixmap pixmap(tamano);
    pixmap.fill(Qt::transparent);
    QSvgRenderer svg(recurso);
    QPainter p(&pixmap);
    svg.render(&p);
    return pixmap;
}

QUrl TFSplash::DireccionCorreo() {
    QUrl url(QStringLiteral("mailto:") + CorreoAutor());
    QUrlQuery consulta;
    consulta.addQueryItem(QStringLiteral("subject"), QStringLiteral("Sobre Senderal... "));
    consulta.addQueryItem(QStringLiteral("body"), QString());
    url.setQuery(consulta);
    return url;
}

TFSplash::TFSplash(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("FSplash"));
    setWindowTitle(QStringLiteral("Acerca de Senderal"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(550, 354);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(0, 0, 550, 354);
    Image1->setPixmap(DibujarSvg(QStringLiteral(":/about/paisaje.svg"), QSize(550, 354)));

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(0, 354 - 162, 550, 162);
    Panel1->setFrameShape(QFrame::Box);
    Panel1->setAutoFillBackground(true);
    QPalette blanco = Panel1->palette();
    blanco.setColor(QPalette::Window, Qt::white);
    blanco.setColor(QPalette::Base, Qt::white);
    Panel1->setPalette(blanco);

    Image2 = new QLabel(Panel1);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setGeometry(8, 8, 49, 49);
    Image2->setPixmap(DibujarSvg(QStringLiteral(":/about/icono.svg"), QSize(49, 49)));

    Memo1 = crearTexto(QStringLiteral("Memo1"),
                       {QStringLiteral("Senderal - Aplicación gratuíta"), QString(),
                        QStringLiteral("Por el equipo de Senderal,"),
                        QStringLiteral("software libre (GPL), 2026.")});
    Memo1->setGeometry(64, 6, 196, 60);

    Memo2 =
        crearTexto(QStringLiteral("Memo2"), {QStringLiteral("Ventanas, gráficos e internet: Qt"),
                                             QStringLiteral("Catálogo de formatos: SQLite"),
                                             QStringLiteral("Mapas: Leaflet y OpenStreetMap"),
                                             QStringLiteral("Traducciones: unidad Verbario"),
                                             QStringLiteral("Cálculo de IBPIndex desde:")});
    Memo2->setGeometry(262, 4, 242, 82);
    Memo3 = crearTexto(QStringLiteral("Memo3"), {QStringLiteral("Conversión de rutas:")});
    Memo3->setGeometry(262, 106, 242, 20);
    for (QPlainTextEdit* memo : {Memo2, Memo3}) {
        QFont cursiva = memo->font();
        cursiva.setItalic(true);
        memo->setFont(cursiva);
        QPalette pal = memo->palette();
        pal.setColor(QPalette::Text, pal.color(QPalette::Highlight));
        memo->setPalette(pal);
        QTextOption opcion = memo->document()->defaultTextOption();
        opcion.setAlignment(Qt::AlignRight);
        memo->document()->setDefaultTextOption(opcion);
    }

    Label1 = crearEnlace(QStringLiteral("Label1"), CorreoAutor(), DireccionCorreo(), Qt::AlignLeft);
    Label1->setGeometry(68, 66, 192, 18);
    Label2 = crearEnlace(QStringLiteral("Label2"), PaginaSenderal(), QUrl(PaginaSenderal()),
                         Qt::AlignLeft);
    Label2->setGeometry(200, 122, 150, 18);
    Label3 = crearEnlace(QStringLiteral("Label3"), PaginaIBPIndex(), QUrl(PaginaIBPIndex()),
                         Qt::AlignRight);
    Label3->setGeometry(262, 86, 238, 18);
    lblLabelLinkBabel = crearEnlace(QStringLiteral("lblLabelLinkBabel"), PaginaGPSBabel(),
                                    QUrl(PaginaGPSBabel()), Qt::AlignRight);
    lblLabelLinkBabel->setGeometry(262, 126, 238, 18);

    Image3 = new QLabel(Panel1);
    Image3->setObjectName(QStringLiteral("Image3"));
    Image3->setGeometry(8, 88, 184, 52);
    Image3->setPixmap(DibujarSvg(QStringLiteral(":/about/logo.svg"), QSize(184, 52)));
    Image3->setCursor(Qt::PointingHandCursor);
    Image3->installEventFilter(this);

    Image1->installEventFilter(this);
    Panel1->installEventFilter(this);

    if (const QScreen* pantalla = QGuiApplication::primaryScreen())
        move(pantalla->availableGeometry().center() - rect().center());
    RecortarSilueta();
}

QPlainTextEdit* TFSplash::crearTexto(const QString& nombre, const QStringList& lineas) {
    auto* memo = new QPlainTextEdit(Panel1);
    memo->setObjectName(nombre);
    memo->setReadOnly(true);
    memo->setFrameShape(QFrame::NoFrame);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo->setTextInteractionFlags(Qt::NoTextInteraction);
    memo->viewport()->setCursor(Qt::ArrowCursor);
    memo->setPlainText(lineas.join(QLatin1Char('\n')));
    memo->viewport()->installEventFilter(this);
    return memo;
}

QLabel* TFSplash::crearEnlace(const QString& nombre, const QString& texto, const QUrl& direccion,
                              Qt::Alignment alineacion) {
    auto* enlace = new QLabel(Panel1);
    enlace->setObjectName(nombre);
    enlace->setText(texto);
    enlace->setAlignment(alineacion | Qt::AlignVCenter);
    QFont subrayado = enlace->font();
    subrayado.setUnderline(true);
    enlace->setFont(subrayado);
    QPalette pal = enlace->palette();
    pal.setColor(QPalette::WindowText, Qt::blue);
    enlace->setPalette(pal);
    enlace->setCursor(Qt::PointingHandCursor);
    enlace->setProperty("direccion", direccion);
    enlace->installEventFilter(this);
    return enlace;
}

void TFSplash::abrir(const QUrl& direccion) {
    if (!AbrirDireccion(direccion))
        AvisarFallo(this, TextoNoSePuedeAbrir(direccion.toString()));
}

bool TFSplash::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseButtonPress)
        return QWidget::eventFilter(watched, event);
    if (watched == Image3) {
        abrir(QUrl(PaginaSenderal()));
        return true;
    }
    const QVariant direccion = watched->property("direccion");
    if (direccion.isValid()) {
        abrir(direccion.toUrl());
        return true;
    }
    // The picture, the panel (and the icon on it) and the text boxes close the window.
    close();
    return true;
}

void TFSplash::RecortarSilueta() {
    // Without a frame or caption the outline sits on the picture itself.
    setMask(QRegion(SiluetaSplash(), Qt::WindingFill));
}
