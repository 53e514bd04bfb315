// Language files applied to the window, the language selector and the template.
#include "FormMain.h"

#include "AsistenteConversion.h"
#include "EnlaceEtiqueta.h"
#include "FormData.h"
#include "GraficoPerfil.h"
#include "Log.h"
#include "PaginaIBP.h"
#include "Ribbon.h"
#include "SenderalError.h"
#include "TextosMisc.h"
#include "TextosVentana.h"
#include "Verbario.h"

#include <QAbstractAxis>
#include <QAction>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolButton>

namespace {
const char* const NombreEdicionIdioma = "edtConfigIdioma";

// The command a ribbon button runs: the button copies the command's icon and hint.
QAction* accionDeBoton(const TFMain* main, const TRibbonButton* b) {
    for (QAction* a : main->Acciones())
        if (a->icon().cacheKey() == b->icon().cacheKey() && a->statusTip() == b->statusTip())
            return a;
    return nullptr;
}

// Ribbon buttons that show a caption of their own ("&Track" for "&Ver Track") need a
// name for the language files to reach them: group name, '_', command name. Their hint
// is the command's, so they carry no hint key of their own.
void NombrarBotonesRibbon(const TFMain* main) {
    for (TRibbonButton* b : main->RibbonMain->findChildren<TRibbonButton*>()) {
        const QAction* action = accionDeBoton(main, b);
        if (!b->objectName().isEmpty() || b->caption().isEmpty() || !action)
            continue;
        const QWidget* group = b->parentWidget();
        while (group && !qobject_cast<const TRibbonGroup*>(group))
            group = group->parentWidget();
        if (!group || group->objectName().isEmpty())
            continue;
        b->setObjectName(group->objectName() + QLatin1Char('_') + action->objectName());
        b->setProperty("Hint", QString());
    }
}

// The windows the program owns now, in the order they were created.
QList<QObject*> ventanasAbiertas(TFMain* main) {
    QList<QObject*> windows{main};
    if (main->FormData)
        windows << main->FormData;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != main && w->objectName() == QLatin1String("FSplash"))
            windows << w;
    return windows;
}
} // namespace

void TFMain::CrearIdioma() {
    // Boxes that show program output, not layout texts.
    for (QPlainTextEdit* box : {mmLog, mmPanelInfo})
        if (box)
            box->setProperty("SinTraduccion", true);
    NombrarBotonesRibbon(this);

    Label22->setText(QStringLiteral("Proponer traducción..."));
    ConvertirEnEnlace(Label22, [this] { Proteger([this] { Label22Click(); }); });

    // The selector's own change: a choice made by the program does not re-apply.
    connect(outcbIdioma, &QComboBox::activated, this,
            [this] { Proteger([this] { outcbIdiomaChange(); }); });
    // ActionCambiarIdioma only hosts the selector; running it does nothing.
    // The developer button shows a failure in the error box.
    connect(btnFillCustomIni, &QToolButton::clicked, this, [this] {
        Proteger([this] {
            QString error;
            if (!::FillCustomIni(ventanasAbiertas(this), &error))
                throw ESenderalError(error);
        });
    });
}

QString TFMain::FicheroIdioma() const {
    if (edtConfigIdioma)
        return edtConfigIdioma->text();
    return property(NombreEdicionIdioma).toString();
}

void TFMain::PonerFicheroIdioma(const QString& fileName) {
    if (edtConfigIdioma)
        edtConfigIdioma->setText(fileName);
    else
        setProperty(NombreEdicionIdioma, fileName); // no configuration page built
}

QString TFMain::TextoIdioma() const {
    return outcbIdioma->currentIndex() >= 0 ? outcbIdioma->currentText()
                                            : outcbIdioma->placeholderText();
}

void TFMain::PonerTextoIdioma(const QString& text) {
    const int index = outcbIdioma->findText(text, Qt::MatchExactly);
    outcbIdioma->setCurrentIndex(index);
    if (index < 0)
        outcbIdioma->setPlaceholderText(text);
}

namespace {
// Texts the program sets itself, not from the window's layout, in the language in force.
void traducirTextosPrograma(TFMain& w) {
    if (QToolButton* ayuda = w.RibbonMain->helpButton())
        ayuda->setToolTip(LookupText(QStringLiteral("_STR_HELP"), QStringLiteral("Ayuda")));
    w.outcbIdioma->setToolTip(w.ActionCambiarIdioma->statusTip());
    if (w.AsistenteConversion)
        w.AsistenteConversion->TraducirAviso();
    if (w.PaginaIBP)
        w.PaginaIBP->TraducirAviso();
    if (QChartView* perfil = w.dbchtPerfil) {
        perfil->chart()->setTitle(
            LookupText(QStringLiteral("_STR_PROFILE_TITLE"), QStringLiteral("PERFIL DEL TRACK")));
        for (QAbstractAxis* eje : perfil->chart()->axes(Qt::Horizontal))
            eje->setTitleText(
                LookupText(QStringLiteral("_STR_PROFILE_AXISX"), QStringLiteral("Kilómetros")));
        for (QAbstractAxis* eje : perfil->chart()->axes(Qt::Vertical))
            eje->setTitleText(
                LookupText(QStringLiteral("_STR_PROFILE_AXISY"), QStringLiteral("Altitud")));
    }
}
} // namespace

void TFMain::AplicarIdiomaVentana(const QString& fileName) {
    const QString error = AplicarIdioma(this, fileName);
    if (!error.isEmpty())
        _Log(error);
    traducirTextosPrograma(*this);
    if (FSeparadorRecientes)
        FSeparadorRecientes->setText(
            LookupText(QStringLiteral("_STR_RECENTDOCS"), QStringLiteral("Documentos recientes")));
    // The info panel shows copies of its message lines: copy them again.
    if (pnlArrastrar && pnlArrastrar->isVisible())
        MostrarPanelInfo(ActualPanelInfo, true);
}

void TFMain::CargarIdiomaInicio() {
    const TEleccionIdioma choice = ElegirIdiomaInicio(FicheroIdioma());
    if (choice.item >= 0) {
        outcbIdioma->setCurrentIndex(choice.item);
        PonerFicheroIdioma(choice.fichero);
    }
    AplicarIdiomaVentana(FicheroIdioma());
}

void TFMain::outcbIdiomaChange() {
    const QString shown = TextoIdioma();
    if (shown.isEmpty())
        return;
    const int item = ItemIdiomaPorTexto(shown);
    if (item >= 0)
        PonerFicheroIdioma(FicherosIdioma()[item]);
    AplicarIdiomaVentana(FicheroIdioma());
}

bool TFMain::FillCustomIni() {
    QString error;
    if (::FillCustomIni(ventanasAbiertas(this), &error))
        return true;
    _Log(error);
    return false;
}

void TFMain::Label22Click() {
    MensajeInfo(LookupText(QStringLiteral("_STR_MI_NEWTRANS"),
                           TextoMiscDefecto(QStringLiteral("_STR_MI_NEWTRANS"))));
}
