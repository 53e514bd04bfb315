#include "EnlacesIBP.h"

namespace {
const QString kFinEnlace = QStringLiteral("\">");

// The text from `inicio` up to the first link end after it; false when there is none.
bool HastaFinEnlace(const QString& texto, qsizetype inicio, QString& tramo) {
    const qsizetype fin = texto.indexOf(kFinEnlace, inicio);
    if (fin < 0)
        return false;
    tramo = texto.mid(inicio, fin - inicio);
    return true;
}
} // namespace

TEnlacesIBP ExtraerEnlacesIBP(const QString& respuesta, const QString& base) {
    TEnlacesIBP enlaces;

    // `href="../` is nine characters: the address text starts at "analizado_pdf.asp?".
    const qsizetype pdf = respuesta.indexOf(QStringLiteral("href=\"../analizado_pdf.asp?"));
    QString tramo;
    if (pdf >= 0 && HastaFinEnlace(respuesta, pdf + 9, tramo))
        enlaces.URLPDF = base + tramo;

    QString copia = respuesta;
    copia.replace(QStringLiteral("href=\"../analizado_ifr.asp?"),
                  QStringLiteral("href=\"") + base + QStringLiteral("analizado_ifr.asp?"));
    // `<a href="` is nine characters: the address text starts at the base address.
    const qsizetype ancla =
        copia.indexOf(QStringLiteral("<a href=\"") + base + QStringLiteral("analizado_ifr.asp?"));
    if (ancla >= 0 && HastaFinEnlace(copia, ancla + 9, tramo))
        enlaces.URLNavigate = tramo;
    return enlaces;
}
