#include "EscritorIni.h"

#include "IniTexto.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {
// The settings file is a few hundred bytes; anything this large is not one.
constexpr qint64 kTamanoMaximo = 4 * 1024 * 1024;

QString unaLinea(QString valor) {
    valor.replace(QLatin1Char('\r'), QLatin1Char(' '));
    valor.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return valor.trimmed();
}
} // namespace

TEscritorIni TEscritorIni::DesdeFichero(const QString& path, bool* existe) {
    if (existe)
        *existe = QFileInfo(path).isFile();
    QFile f(path);
    if (f.size() > kTamanoMaximo || !f.open(QIODevice::ReadOnly))
        return TEscritorIni();
    return DesdeTexto(TIniTexto::DecodificarTexto(f.readAll()));
}

TEscritorIni TEscritorIni::DesdeTexto(const QString& texto) {
    // The language files' reader gives the sections and keys as lookups see them; a
    // repeated section counts once, at the place of its last occurrence.
    const TIniTexto leido = TIniTexto::DesdeTexto(texto);
    QStringList nombres = leido.Secciones();
    for (qsizetype i = 0; i < nombres.size(); ++i)
        for (qsizetype j = i + 1; j < nombres.size(); ++j)
            if (nombres[i].compare(nombres[j], Qt::CaseInsensitive) == 0) {
                nombres.removeAt(i--);
                break;
            }
    TEscritorIni ini;
    for (const QString& nombre : nombres) {
        TSeccion seccion{nombre, {}};
        for (const QString& clave : leido.Claves(nombre))
            seccion.entradas.append({clave, leido.Valor(nombre, clave)});
        ini.FSecciones.append(seccion);
    }
    return ini;
}

const TEscritorIni::TSeccion* TEscritorIni::seccion(const QString& nombre) const {
    for (const TSeccion& s : FSecciones)
        if (s.nombre.compare(nombre, Qt::CaseInsensitive) == 0)
            return &s;
    return nullptr;
}

bool TEscritorIni::TieneClave(const QString& seccionNombre, const QString& clave) const {
    if (const TSeccion* s = seccion(seccionNombre))
        for (const TEntrada& e : s->entradas)
            if (e.clave.compare(clave, Qt::CaseInsensitive) == 0)
                return true;
    return false;
}

QString TEscritorIni::Valor(const QString& seccionNombre, const QString& clave,
                            const QString& porDefecto) const {
    if (const TSeccion* s = seccion(seccionNombre))
        for (const TEntrada& e : s->entradas)
            if (e.clave.compare(clave, Qt::CaseInsensitive) == 0)
                return e.valor;
    return porDefecto;
}

QStringList TEscritorIni::Secciones() const {
    QStringList nombres;
    for (const TSeccion& s : FSecciones)
        nombres << s.nombre;
    return nombres;
}

QStringList TEscritorIni::Claves(const QString& seccionNombre) const {
    QStringList claves;
    if (const TSeccion* s = seccion(seccionNombre))
        for (const TEntrada& e : s->entradas)
            claves << e.clave;
    return claves;
}

void TEscritorIni::Escribir(const QString& seccionNombre, const QString& clave,
                            const QString& valor) {
    TSeccion* s = const_cast<TSeccion*>(seccion(seccionNombre));
    if (!s) {
        FSecciones.append({seccionNombre, {}});
        s = &FSecciones.last();
    }
    for (TEntrada& e : s->entradas)
        if (e.clave.compare(clave, Qt::CaseInsensitive) == 0) {
            e.valor = unaLinea(valor);
            return;
        }
    s->entradas.append({clave, unaLinea(valor)});
}

void TEscritorIni::BorrarSeccion(const QString& seccionNombre) {
    for (qsizetype i = FSecciones.size() - 1; i >= 0; --i)
        if (FSecciones[i].nombre.compare(seccionNombre, Qt::CaseInsensitive) == 0)
            FSecciones.removeAt(i);
}

QByteArray TEscritorIni::Serializar() const {
    QString texto;
    for (qsizetype i = 0; i < FSecciones.size(); ++i) {
        if (i > 0)
            texto += QStringLiteral("\r\n");
        texto += QLatin1Char('[') + FSecciones[i].nombre + QStringLiteral("]\r\n");
        for (const TEntrada& e : FSecciones[i].entradas)
            texto += e.clave + QLatin1Char('=') + e.valor + QStringLiteral("\r\n");
    }
    return QByteArray("\xEF\xBB\xBF") + texto.toUtf8();
}

bool TEscritorIni::Guardar(const QString& path, QString* error) const {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(Serializar()) < 0 || !f.commit()) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, f.errorString());
        return false;
    }
    return true;
}
