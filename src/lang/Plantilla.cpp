#include "Plantilla.h"

#include "IniTexto.h"
#include "TextosMisc.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {
QString clave(const QString& window, const QString& element, const QString& ending) {
    return window + QLatin1Char('.') + element + ending;
}

QString indexada(const QString& window, const QString& element, const char* ending, int i) {
    return clave(window, element, QLatin1String(ending)) + QString::number(i) + QLatin1Char(']');
}

void escribirLista(TIniTexto& ini, const QString& window, const QString& element,
                   const char* ending, const QStringList& texts) {
    for (int i = 0; i < texts.size(); ++i)
        ini.Escribir(window, indexada(window, element, ending, i), texts[i]);
}

void escribirElemento(TIniTexto& ini, const QString& w, const TElementoTexto& e) {
    if (e.caption && !e.caption->isEmpty() && *e.caption != QLatin1String("-") &&
        *e.caption != e.nombre)
        ini.Escribir(w, clave(w, e.nombre, QStringLiteral(".Caption")), *e.caption);
    if (e.hint && !e.hint->isEmpty())
        ini.Escribir(w, clave(w, e.nombre, QStringLiteral(".Hint")), *e.hint);
    if (e.texto)
        ini.Escribir(w, clave(w, e.nombre, QStringLiteral(".Text")), *e.texto);
    // The language files read this key; writing it lets labelled controls be translated.
    if (e.etiquetaAdjunta && !e.etiquetaAdjunta->isEmpty())
        ini.Escribir(w, clave(w, e.nombre, QStringLiteral(".EditLabel.Caption")),
                     *e.etiquetaAdjunta);
    if (e.filtro)
        ini.Escribir(w, clave(w, e.nombre, QStringLiteral(".Filter")),
                     FiltroParaPlantilla(*e.filtro));
    if (e.lineas) {
        // A box whose text is still its own name (the layout's placeholder) stops there.
        const qsizetype stop = e.lineas->indexOf(e.nombre);
        escribirLista(ini, w, e.nombre, ".Lines[", stop < 0 ? *e.lineas : e.lineas->mid(0, stop));
    }
    if (e.items)
        escribirLista(ini, w, e.nombre, ".Items[", *e.items);
    if (e.columnas)
        escribirLista(ini, w, e.nombre, ".Items[", *e.columnas);
    if (e.itemsLista)
        escribirLista(ini, w, e.nombre, ".Items[", *e.itemsLista);
}

QStringList bloqueComboBox(const QString& window, const QStringList& combos) {
    QStringList lines;
    lines << QStringLiteral(" ")
          << QStringLiteral("//-----------------------------------------------------------")
          << QLatin1Char('[') + window + QLatin1Char(']');
    lines << QStringLiteral("  cc: array[0..%1] of Integer;").arg(combos.size() - 1);
    for (int k = 0; k < combos.size(); ++k)
        lines << QStringLiteral("  cc [%1] := %2.ItemIndex ;").arg(k).arg(combos[k]);
    lines << QStringLiteral("<<<<<< Código de - Code of Verbario:  fillProps([Form],CL) ");
    for (int k = 0; k < combos.size(); ++k)
        lines << QStringLiteral("  %1.ItemIndex := cc [%2] ;").arg(combos[k]).arg(k);
    return lines;
}

bool borrar(const QString& path, QString* error) {
    if (!QFile::exists(path) || QFile::remove(path))
        return true;
    if (error)
        *error = QStringLiteral("No se puede borrar el fichero %1").arg(path);
    return false;
}

bool guardarLineas(const QStringList& lines, const QString& path, QString* error) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    const QByteArray bytes = (lines.join(QLatin1String("\r\n")) + QLatin1String("\r\n")).toUtf8();
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    if (error)
        *error =
            QStringLiteral("No se puede escribir el fichero %1: %2").arg(path, file.errorString());
    return false;
}
} // namespace

bool ExcluidoDePlantilla(const QString& elementName) {
    return elementName.startsWith(QLatin1String("out"), Qt::CaseInsensitive);
}

QString FiltroParaPlantilla(const QString& filter) {
    QString text = filter;
    return text.replace(QLatin1String("*|*"), QLatin1String("* |*"));
}

void EscribirVentanaPlantilla(const TVentanaTexto& window, TIniTexto& ini,
                              QStringList& comboLines) {
    const QString& w = window.nombre;
    if (window.caption && *window.caption != w)
        ini.Escribir(w, w + QStringLiteral(".Caption"), *window.caption);
    QStringList combos;
    for (const TElementoTexto& e : window.elementos) {
        if (ExcluidoDePlantilla(e.nombre))
            continue;
        if (e.items)
            combos << e.nombre;
        escribirElemento(ini, w, e);
    }
    if (!combos.isEmpty())
        comboLines << bloqueComboBox(w, combos);
}

void EscribirMiscPlantilla(TIniTexto& ini) {
    for (const TTextoMisc& t : TextosMisc) {
        QString value = QString::fromUtf8(t.textoDefecto);
        value.replace(QLatin1String("\r\n"), QLatin1String("*|*"));
        ini.Escribir(QStringLiteral("Misc"), QLatin1String(t.clave), value);
    }
}

bool EscribirPlantilla(const QList<TVentanaTexto>& windows, const QString& iniPath,
                       const QString& comboPath, QString* error) {
    if (!borrar(iniPath, error) || !borrar(comboPath, error))
        return false;
    TIniTexto ini;
    QStringList comboLines;
    for (const TVentanaTexto& window : windows)
        EscribirVentanaPlantilla(window, ini, comboLines);
    if (!comboLines.isEmpty()) {
        comboLines << QStringLiteral(" ");
        if (!guardarLineas(comboLines, comboPath, error))
            return false;
    }
    EscribirMiscPlantilla(ini);
    return ini.Guardar(iniPath, error);
}
