// The format catalogue, the import of non-GPX tracks and the conversion wizard.
#include "FormMain.h"

#include "AppPaths.h"
#include "AsistenteConversion.h"
#include "CatalogoFormatos.h"
#include "ComandoGPSBabel.h"
#include "Conversor.h"
#include "Formato.h"
#include "SenderalError.h"
#include "Verbario.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QLayout>
#include <QLineEdit>
#include <QStackedWidget>

void TFMain::CrearPaginaConversion() {
    Catalogo =
        std::make_shared<TCatalogoFormatos>(AppDir() + TCatalogoFormatos::NombreFichero(), Log);
    AsistenteConversion = new TAsistenteConversion(tsConvert);
    tsConvert->layout()->addWidget(AsistenteConversion);
    TAsistenteConversion* a = AsistenteConversion;
    a->DialogoAbrir = [this] { return DialogoAbrir ? DialogoAbrir() : QString(); };
    a->DialogoGuardar = [this](const QString& carpeta, const QString& propuesto,
                               const QString& ext) {
        QFileDialog dlg(this, LookupText(QStringLiteral("_STR_TITLE_SAVECONVERT"),
                                         QStringLiteral("Nombre para el fichero destino")));
        dlg.setObjectName(QStringLiteral("sDialog"));
        dlg.setAcceptMode(QFileDialog::AcceptSave);
        dlg.setDefaultSuffix(ext);
        if (!carpeta.isEmpty())
            dlg.setDirectory(carpeta);
        dlg.selectFile(carpeta.isEmpty() ? propuesto : QFileInfo(propuesto).fileName());
        if (dlg.exec() != QDialog::Accepted)
            return QString();
        return dlg.selectedFiles().value(0);
    };
    a->MensajeInfo = [this](const QString& t) { MensajeInfo(t); };
    a->MensajeAviso = [this](const QString& t) { MensajeAviso(t); };
    a->MensajeError = [this](const QString& t) { MensajeError(t); };
    a->MensajePregunta = [this](const QString& t) { return MensajePregunta(t); };
    a->Convertir = [this](const QString& o, const QString& d, const QString& desc) {
        return ConvertirFichero(o, d, desc);
    };
    RegistrarSnapshot(QStringLiteral("convertir.png"), tsConvert);
}

QString TFMain::RutaGPSBabel() const {
    return edtBabel ? edtBabel->text() : FRutaGPSBabel;
}

void TFMain::PonerRutaGPSBabel(const QString& path) {
    FRutaGPSBabel = path;
    if (edtBabel)
        edtBabel->setText(path);
}

void TFMain::CargarFormatos() {
    const QString filtroTodos = LookupText(QStringLiteral("_STR_FILTER_ALLFILES"),
                                           QStringLiteral("Todos los ficheros (*.*)|*.*"));
    if (RutaGPSBabel().isEmpty())
        PonerRutaGPSBabel(UbicacionGPSBabelPorDefecto(AppDir()));
    if (!QFileInfo(RutaGPSBabel()).isFile())
        ActionConversionRutas->setEnabled(false);

    const TProductosCatalogo p = Catalogo->LeerProductos(filtroTodos);
    if (p.FiltroAsignado)
        FiltroAbrir = FiltroDialogoQt(p.Filtro).join(QStringLiteral(";;"));
    FFiltroTodosAbrir = FiltroDialogoQt(filtroTodos).value(0);
    AsistenteConversion->SetFormatos(p.Salidas, p.ConvertList);
    ConvertList = p.ConvertList;
    StrAcceptTypes = p.StrAcceptTypes;
    if (!p.Error.isEmpty()) {
        MensajeError(TextoErrorDatosConversion() + p.Error);
        return;
    }
    if (ActualPanelInfo == tiArrastre && pnlArrastrar->isVisibleTo(this))
        MostrarPanelInfo(tiArrastre, true);
}

TResultadoConversion TFMain::ConvertirFichero(const QString& origen, const QString& destino,
                                              const QString& descripcion) {
    TConversor conversor(*Catalogo, Log);
    conversor.Babel = RutaGPSBabel();
    conversor.EXECLocal = EXECLocal;
    conversor.CarpetaCache = CacheDir();
    return conversor.ConvertirFichero(origen, destino, descripcion);
}

bool TFMain::ImportarComoGPX(const QString& path, QString& gpxPath) {
    TConversor conversor(*Catalogo, Log);
    conversor.Babel = RutaGPSBabel();
    conversor.EXECLocal = EXECLocal;
    conversor.CarpetaCache = CacheDir();
    const auto reemplazar = [this](const QString& existe, const QString& libre) {
        return MensajePregunta(FormatearTexto(
            LookupText(QStringLiteral("_STR_MI_GPXEXISTS"),
                       QStringLiteral("Ya existe el fichero GPX:\r\n%s\r\n\r\n¿Desea "
                                      "reemplazarlo?\r\n\r\nSi responde No, la ruta se "
                                      "importará como:\r\n%s")),
            {existe, libre}));
    };
    // The load sequence only learns success or failure: every failure is told here, so
    // the window goes back to the drop panel instead of staying on "Importando".
    TResultadoConversion r;
    try {
        r = ::ImportarComoGPX(conversor, path, gpxPath, reemplazar);
    } catch (const ESenderalError& e) {
        MensajeError(e.text());
        return false;
    }
    if (r.NoIniciado)
        MensajeError(TextoFalloConversion(r));
    else if (!r.Exito)
        MensajeAviso(TextoFalloConversion(r));
    return r.Exito;
}

void TFMain::ActionConversionRutasExecute() {
    MostrarPanelInfo(ActualPanelInfo, false);
    if (!FTrackPath.isEmpty() && QFileInfo(FTrackPath).isFile())
        AsistenteConversion->_edtFileName->setText(FTrackPath);
    pcCentral->setCurrentWidget(tsConvert);
    pcCentral->setVisible(true);
}
