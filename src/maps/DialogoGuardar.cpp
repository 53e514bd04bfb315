#include "DialogoGuardar.h"

#include "Verbario.h"

#include <QFileDialog>
#include <QFileInfo>

QString PedirFicheroGuardar(QWidget* parent, const TDialogoGuardar& d) {
    QFileDialog dialog(parent, d.titulo, QFileInfo(d.fichero).path());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(d.filtros);
    if (d.filtroElegido >= 0 && d.filtroElegido < d.filtros.size())
        dialog.selectNameFilter(d.filtros[d.filtroElegido]);
    dialog.setDefaultSuffix(d.extensionDefecto);
    dialog.selectFile(QFileInfo(d.fichero).fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

TDialogoGuardar DialogoImagen(const QString& titulo, const QString& fichero) {
    TDialogoGuardar d;
    d.titulo = titulo;
    d.filtros = {
        LookupText(QStringLiteral("_STR_FILTER_IMAGEBMP"), QStringLiteral("Bitmap (*.bmp)")),
        LookupText(QStringLiteral("_STR_FILTER_IMAGEJPG"), QStringLiteral("Jpeg image (*.jpg)")),
        LookupText(QStringLiteral("_STR_FILTER_IMAGEPNG"),
                   QStringLiteral("Portable Network Graphics (*.png)"))};
    d.filtroElegido = 1;
    d.extensionDefecto = QStringLiteral("png");
    d.fichero = fichero;
    return d;
}
