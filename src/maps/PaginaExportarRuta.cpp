#include "PaginaExportarRuta.h"

#include "Verbario.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// The save dialog of the two export commands (`sdTrack`).
TDialogoGuardar dialogoExportar(TFormatoRuta format, const QString& trackPath) {
    TDialogoGuardar d;
    d.titulo =
        LookupText(QStringLiteral("_STR_CAPTION_EXPORT"), QStringLiteral("Exportar track..."));
    const bool kml = format == TFormatoRuta::frKML;
    d.filtros = {
        kml ? LookupText(QStringLiteral("_STR_FILTER_KML"), QStringLiteral("Google Earth (*.kml)"))
            : LookupText(QStringLiteral("_STR_FILTER_PLT"),
                         QStringLiteral("Ozi Track File (*.plt)"))};
    const QFileInfo track(trackPath);
    d.fichero = QDir(track.path())
                    .filePath(track.completeBaseName() +
                              (kml ? QStringLiteral(".KML") : QStringLiteral(".PLT")));
    return d;
}
} // namespace

TPaginaExportarRuta::TPaginaExportarRuta(QWidget* parent)
    : QWidget(parent), mmConvertTrack(new QPlainTextEdit(this)),
      btnGrabarKLM(new QPushButton(QStringLiteral("&Convertir ruta a KML"), this)),
      btnGrabarPLT(new QPushButton(QStringLiteral("&Convertir ruta a PLT"), this)) {
    setObjectName(QStringLiteral("PaginaExportarRuta"));
    mmConvertTrack->setObjectName(QStringLiteral("mmConvertTrack"));
    mmConvertTrack->setLineWrapMode(QPlainTextEdit::NoWrap);
    btnGrabarKLM->setObjectName(QStringLiteral("btnGrabarKLM"));
    btnGrabarKLM->setToolTip(QStringLiteral(
        "Convertir la ruta existente a formato KML (KeyHole Markup language -Google Maps-)"));
    btnGrabarPLT->setObjectName(QStringLiteral("btnGrabarPLT"));
    btnGrabarPLT->setToolTip(
        QStringLiteral("Convertir la ruta existente a formato PLT (OziExplorer)"));

    auto* caja = new QVBoxLayout(this);
    caja->setContentsMargins(0, 0, 0, 0);
    caja->setSpacing(0);
    caja->addWidget(mmConvertTrack);
    auto* botones = new QHBoxLayout;
    botones->addWidget(btnGrabarKLM);
    botones->addWidget(btnGrabarPLT);
    botones->addStretch();
    caja->addLayout(botones);
}

void TPaginaExportarRuta::Exportar(TFormatoRuta format, const TFormData& data,
                                   const QString& trackPath, const TPedirFicheroGuardar& pedir) {
    mmConvertTrack->clear();
    const QStringList lines = LineasExportacion(format, data);
    mmConvertTrack->setPlainText(lines.join(QLatin1Char('\n')));
    const QString path = pedir(dialogoExportar(format, trackPath));
    if (!path.isEmpty())
        GrabarRuta(format, lines, path);
}
