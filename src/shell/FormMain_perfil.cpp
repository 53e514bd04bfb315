// The altitude profile chart.
#include "FormMain.h"
#include "Verbario.h"

#include "DatosPerfil.h"
#include "DialogoGuardar.h"
#include "FormData.h"
#include "GraficoPerfil.h"
#include "ImagenVista.h"
#include "VistaPerfil.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLayout>
#include <QLocale>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

void TFMain::CrearPaginaPerfil() {
    dbchtPerfil = new TGraficoPerfil;
    vistaPerfil = new TVistaPerfil(dbchtPerfil, tsPerfil);
    tsPerfil->layout()->addWidget(vistaPerfil);
    dbchtPerfil->VerRelleno(ActionPerfilVerRelleno->isChecked());

    Conectar(ActionPerfilVerRelleno, [this] { ActionPerfilVerRellenoExecute(); });
    Conectar(ActionImprimirPerfil, [this] { ActionImprimirPerfilExecute(); });
    Conectar(ActionGrabarPerfilImagen, [this] { ActionGrabarPerfilImagenExecute(); });
    connect(cbZoomPerfil, &QComboBox::currentIndexChanged, this,
            [this] { Proteger([this] { cbZoomPerfilChange(); }); });
    RegistrarSnapshot(QStringLiteral("perfil.png"), tsPerfil);
}

void TFMain::PintarPerfil() {
    dbchtPerfil->Pintar(
        CalcularDatosPerfil(*FormData->Medidas(), DistanciaTotal, QLocale().decimalPoint().at(0)));
}

void TFMain::LimpiarPerfil() {
    dbchtPerfil->Vaciar();
}

void TFMain::ActionPerfilVerRellenoExecute() {
    dbchtPerfil->VerRelleno(ActionPerfilVerRelleno->isChecked());
}

void TFMain::ActionImprimirPerfilExecute() {
    // Printed on the current printer without asking; with no printer installed the
    // dialog lets the user pick one (or a file) instead of printing nowhere.
    const QPrinterInfo current = QPrinterInfo::defaultPrinter();
    if (!current.isNull()) {
        QPrinter printer(current, QPrinter::HighResolution);
        dbchtPerfil->Imprimir(printer);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted)
        dbchtPerfil->Imprimir(printer);
}

void TFMain::ActionGrabarPerfilImagenExecute() {
    const TDialogoGuardar d = DialogoImagen(
        LookupText(QStringLiteral("_STR_TITLE_SAVEPROFILE"),
                   QStringLiteral("Guardar imagen del perfil...")),
        QDir(CarpetaImagenes()).filePath(QStringLiteral("Perfil%1").arg(PerfilImageIndex)));
    const QString path =
        DialogoGuardar(d.titulo, d.filtros, d.filtroElegido, d.extensionDefecto, d.fichero);
    if (path.isEmpty())
        return;
    ++PerfilImageIndex;
    GrabarImagenPorExtension(dbchtPerfil->Imagen(), path);
}

void TFMain::cbZoomPerfilChange() {
    _Log(QStringLiteral("ZOOM: ") + cbZoomPerfil->currentText());
    bool ok = false;
    const int percent =
        QString(cbZoomPerfil->currentText()).remove(QLatin1Char('%')).trimmed().toInt(&ok);
    if (ok)
        vistaPerfil->SetZoom(percent);
}
