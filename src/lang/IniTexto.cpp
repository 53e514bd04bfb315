#include "IniTexto.h"

#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>

namespace {
bool empiezaCon(const QByteArray& bytes, std::initializer_list<unsigned char> mark) {
    if (bytes.size() < qsizetype(mark.size()))
        return false;
    qsizetype i = 0;
    for (unsigned char c : mark)
        if (static_cast<unsigned char>(bytes[i++]) != c)
            return false;
    return true;
}

QString decodificar(QStringConverter::Encoding encoding, QByteArrayView bytes) {
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

// One line per entry: a value read from a widget may carry line breaks.
QString enUnaLinea(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String("*|*"));
    text.replace(QLatin1Char('\n'), QLatin1String("*|*"));
    text.replace(QLatin1Char('\r'), QLatin1String("*|*"));
    return text;
}

// A settings value: a line break would start a new key, and blanks around it would not
// come back, so both go.
QString enBlanco(QString text) {
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text.trimmed();
}
} // namespace

QString TIniTexto::DecodificarTexto(const QByteArray& bytes) {
    if (empiezaCon(bytes, {0xEF, 0xBB, 0xBF}))
        return decodificar(QStringConverter::Utf8, QByteArrayView(bytes).sliced(3));
    if (empiezaCon(bytes, {0xFF, 0xFE}))
        return decodificar(QStringConverter::Utf16LE, QByteArrayView(bytes).sliced(2));
    if (empiezaCon(bytes, {0xFE, 0xFF}))
        return decodificar(QStringConverter::Utf16BE, QByteArrayView(bytes).sliced(2));
    return QString::fromLatin1(bytes);
}

TIniTexto TIniTexto::DesdeTexto(const QString& text, const TOpciones& opciones) {
    TIniTexto ini(opciones);
    TSeccion* current = nullptr;
    const QStringList lines = text.split(QRegularExpression(QStringLiteral("\r\n|\n|\r")));
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            ini.FSecciones.append({line.mid(1, line.size() - 2).trimmed(), {}});
            current = &ini.FSecciones.last();
            continue;
        }
        if (!current)
            continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            current->entradas.append({line, QString(), false});
        else
            current->entradas.append({line.left(eq).trimmed(), line.mid(eq + 1).trimmed(), true});
    }
    if (opciones.unaSeccionPorNombre)
        ini.unaSeccionPorNombre();
    return ini;
}

void TIniTexto::unaSeccionPorNombre() {
    QList<TSeccion> unicas;
    for (qsizetype i = 0; i < FSecciones.size(); ++i) {
        const QString& nombre = FSecciones[i].nombre;
        const auto mismoNombre = [&nombre](const TSeccion& s) {
            return s.nombre.compare(nombre, Qt::CaseInsensitive) == 0;
        };
        // Only the last section of a name stays, with the keys that lookups see.
        if (std::any_of(FSecciones.cbegin() + i + 1, FSecciones.cend(), mismoNombre))
            continue;
        TSeccion unica{nombre, {}};
        for (const QString& clave : Claves(nombre))
            unica.entradas.append({clave, Valor(nombre, clave), true});
        unicas.append(unica);
    }
    FSecciones = unicas;
}

TIniTexto TIniTexto::DesdeDispositivo(QIODevice& device, QString* error,
                                      const TOpciones& opciones) {
    const QByteArray bytes = device.read(opciones.tamanoMaximo + 1);
    if (bytes.size() > opciones.tamanoMaximo) {
        if (error)
            *error = QStringLiteral("El fichero es demasiado grande (más de %1 MB).")
                         .arg(opciones.tamanoMaximo / (1024 * 1024));
        return TIniTexto(opciones);
    }
    return DesdeBytes(bytes, opciones);
}

TIniTexto TIniTexto::DesdeFichero(const QString& path, QString* error, const TOpciones& opciones) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error =
                QStringLiteral("No se puede leer el fichero %1: %2").arg(path, file.errorString());
        return TIniTexto(opciones);
    }
    QString why;
    TIniTexto ini = DesdeDispositivo(file, &why, opciones);
    if (!why.isEmpty() && error)
        *error = path + QStringLiteral(": ") + why;
    return ini;
}

TIniTexto TIniTexto::AjustesDesdeFichero(const QString& path, bool* existe) {
    if (existe)
        *existe = QFileInfo(path).isFile();
    return DesdeFichero(path, nullptr, Ajustes());
}

const TIniTexto::TSeccion* TIniTexto::seccion(const QString& name) const {
    for (auto it = FSecciones.crbegin(); it != FSecciones.crend(); ++it)
        if (it->nombre.compare(name, Qt::CaseInsensitive) == 0)
            return &*it;
    return nullptr;
}

TIniTexto::TSeccion* TIniTexto::seccion(const QString& name) {
    for (auto it = FSecciones.rbegin(); it != FSecciones.rend(); ++it)
        if (it->nombre.compare(name, Qt::CaseInsensitive) == 0)
            return &*it;
    return nullptr;
}

const TIniTexto::TEntrada* TIniTexto::entrada(const TSeccion& section, const QString& key) {
    for (auto it = section.entradas.crbegin(); it != section.entradas.crend(); ++it)
        if (it->conIgual && it->clave.compare(key, Qt::CaseInsensitive) == 0)
            return &*it;
    return nullptr;
}

bool TIniTexto::TieneSeccion(const QString& section) const {
    return seccion(section) != nullptr;
}

bool TIniTexto::TieneClave(const QString& section, const QString& key) const {
    const TSeccion* s = seccion(section);
    return s && entrada(*s, key);
}

QString TIniTexto::Valor(const QString& section, const QString& key,
                         const QString& defaultValue) const {
    const TSeccion* s = seccion(section);
    const TEntrada* e = s ? entrada(*s, key) : nullptr;
    return e ? e->valor : defaultValue;
}

QStringList TIniTexto::Secciones() const {
    QStringList names;
    for (const TSeccion& s : FSecciones)
        names.append(s.nombre);
    return names;
}

QStringList TIniTexto::Claves(const QString& section) const {
    QStringList keys;
    const TSeccion* s = seccion(section);
    if (!s)
        return keys;
    for (const TEntrada& e : s->entradas) {
        if (!e.conIgual)
            continue;
        const bool seen = std::any_of(keys.cbegin(), keys.cend(), [&](const QString& k) {
            return k.compare(e.clave, Qt::CaseInsensitive) == 0;
        });
        if (!seen)
            keys.append(e.clave);
    }
    return keys;
}

void TIniTexto::Escribir(const QString& section, const QString& key, const QString& text) {
    const QString value =
        FOpciones.saltoDeLinea == TOpcionesIni::TSaltoDeLinea::Blanco ? enBlanco(text) : text;
    TSeccion* s = seccion(section);
    if (!s) {
        FSecciones.append({section, {}});
        s = &FSecciones.last();
    }
    for (auto it = s->entradas.rbegin(); it != s->entradas.rend(); ++it) {
        if (it->conIgual && it->clave.compare(key, Qt::CaseInsensitive) == 0) {
            it->valor = value;
            return;
        }
    }
    s->entradas.append({key, value, true});
}

void TIniTexto::BorrarSeccion(const QString& section) {
    FSecciones.removeIf(
        [&](const TSeccion& s) { return s.nombre.compare(section, Qt::CaseInsensitive) == 0; });
}

QByteArray TIniTexto::Serializar() const {
    QString text;
    for (qsizetype i = 0; i < FSecciones.size(); ++i) {
        const TSeccion& s = FSecciones[i];
        if (i > 0)
            text += QLatin1String("\r\n");
        text += QLatin1Char('[') + s.nombre + QLatin1String("]\r\n");
        for (const TEntrada& e : s.entradas) {
            text += enUnaLinea(e.clave);
            if (e.conIgual)
                text += QLatin1Char('=') + enUnaLinea(e.valor);
            text += QLatin1String("\r\n");
        }
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

bool TIniTexto::Guardar(const QString& path, QString* error) const {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(Serializar()) < 0 || !file.commit()) {
        if (error)
            *error = QStringLiteral("No se puede escribir el fichero %1: %2")
                         .arg(path, file.errorString());
        return false;
    }
    return true;
}
