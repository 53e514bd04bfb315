#include "RespuestaIBP.h"

#include <QRegularExpression>
#include <QSaveFile>
#include <QStringDecoder>

namespace {
QByteArray CharsetDe(const QByteArray& tipoContenido) {
    for (const QByteArray& parte : tipoContenido.split(';')) {
        const QByteArray p = parte.trimmed();
        if (p.toLower().startsWith("charset="))
            return p.mid(8).replace('"', "").trimmed();
    }
    return {};
}

bool Grabar(const QString& fichero, const QByteArray& bytes) {
    // The folder is not created here: at exit the cache folder is removed, and a query
    // still ending must not bring it back.
    QSaveFile f(fichero);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    if (f.write(bytes) != bytes.size()) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}
} // namespace

QString DecodificarRespuesta(const QByteArray& cuerpo, const QByteArray& tipoContenido) {
    const QByteArray charset = CharsetDe(tipoContenido);
    if (!charset.isEmpty()) {
        QStringDecoder decoder(charset.constData());
        if (decoder.isValid())
            return decoder.decode(cuerpo);
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString texto = utf8.decode(cuerpo);
    if (!utf8.hasError())
        return texto;
    return QString::fromLatin1(cuerpo);
}

bool EscribirLineasCRLF(const QString& fichero, const QString& texto) {
    static const QRegularExpression saltos(QStringLiteral("\r\n|\r|\n"));
    QStringList lineas = texto.split(saltos);
    // A final line break ends the last line; it does not open an empty one.
    if (!lineas.isEmpty() && lineas.last().isEmpty())
        lineas.removeLast();
    QByteArray bytes;
    for (const QString& linea : lineas)
        bytes += linea.toLocal8Bit() + "\r\n";
    return Grabar(fichero, bytes);
}

bool EscribirEntrada(const QString& fichero, const QString& texto) {
    return Grabar(fichero, texto.toLocal8Bit() + "\r\n");
}
