#include "Temas.h"

const QList<TTema>& Temas() {
    static const QList<TTema> temas{
        {kTemaObsidian, QStringLiteral("Ribbon - Obsidian"), 0, QColor(162, 162, 160)},
        {kTemaLuna, QStringLiteral("Ribbon - Luna"), 1, QColor(194, 216, 241)},
        {kTemaSilver, QStringLiteral("Ribbon - Silver"), 2, QColor(208, 212, 221)},
    };
    return temas;
}

QStringList NombresTemas() {
    QStringList nombres;
    for (const TTema& t : Temas())
        nombres << t.Nombre;
    return nombres;
}

const TTema* TemaDeIndice(int indice) {
    return indice >= 0 && indice < Temas().size() ? &Temas()[indice] : nullptr;
}

const TTema* TemaDeEtiqueta(int etiqueta) {
    return TemaDeIndice(etiqueta - 1);
}

QColor ColorDesdeValor(quint32 valor) {
    return QColor(valor & 0xFF, (valor >> 8) & 0xFF, (valor >> 16) & 0xFF);
}

quint32 ValorDesdeColor(const QColor& color) {
    return quint32(color.red()) | quint32(color.green()) << 8 | quint32(color.blue()) << 16;
}
