#include "FicheroRegular.h"

#include "TextosPista.h"

#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryFile>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QString clase(const struct stat& st) {
    if (S_ISREG(st.st_mode))
        return QString();
    if (S_ISFIFO(st.st_mode))
        return TextoPista("_STR_RD_KIND_FIFO", "una tubería (FIFO)");
    if (S_ISDIR(st.st_mode))
        return TextoPista("_STR_RD_KIND_FOLDER", "una carpeta");
    if (S_ISCHR(st.st_mode))
        return TextoPista("_STR_RD_KIND_CHARDEV", "un dispositivo de caracteres");
    if (S_ISBLK(st.st_mode))
        return TextoPista("_STR_RD_KIND_BLOCKDEV", "un dispositivo de bloques");
    if (S_ISSOCK(st.st_mode))
        return TextoPista("_STR_RD_KIND_SOCKET", "un socket");
    return TextoPista("_STR_RD_KIND_SPECIAL", "un fichero especial");
}

QString sistema(int code) {
    return QString::fromLocal8Bit(std::strerror(code));
}

bool mismoEstado(const struct stat& a, const struct stat& b) {
    return a.st_size == b.st_size && a.st_mtim.tv_sec == b.st_mtim.tv_sec &&
           a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

enum class Lectura { Bien, Cambiado, Fallo };

Lectura leerUnaVez(const QString& path, TDestinoLectura& destino, QString& error,
                   const TLecturaFichero& op) {
    // Without O_NONBLOCK, opening a pipe that nobody writes to would wait forever.
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        error = QStringLiteral("%1: %2").arg(path, sistema(errno));
        return Lectura::Fallo;
    }
    const auto cerrar = qScopeGuard([fd] { ::close(fd); });
    struct stat antes {};
    if (::fstat(fd, &antes) != 0) {
        error = QStringLiteral("%1: %2").arg(path, sistema(errno));
        return Lectura::Fallo;
    }
    const QString tipo = clase(antes);
    if (!tipo.isEmpty()) {
        error = TextoNoRegular(path, tipo);
        return Lectura::Fallo;
    }
    if (antes.st_size > op.Limite) {
        error = TextoFicheroGrande(op.Limite);
        return Lectura::Fallo;
    }
    // A reason the bytes gave (bad encoding, say) may come from a file being rewritten
    // under the reader: then it is read again like any other changed file.
    const auto cambiado = [&] {
        struct stat ahora {};
        return ::fstat(fd, &ahora) != 0 || !mismoEstado(antes, ahora);
    };
    destino.empezar(antes.st_size);
    constexpr qsizetype Bloque = qsizetype(1) << 18;
    const std::unique_ptr<char[]> bloque(new char[size_t(Bloque)]);
    qint64 total = 0;
    for (;;) {
        const ssize_t n = ::read(fd, bloque.get(), size_t(Bloque));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error = QStringLiteral("%1: %2").arg(path, sistema(errno));
            return Lectura::Fallo;
        }
        if (n == 0)
            break;
        total += n;
        // Checked as the bytes come: a file that grows without end stops here.
        if (total > op.Limite) {
            error = TextoFicheroGrande(op.Limite);
            return Lectura::Fallo;
        }
        if (!destino.bloque(QByteArrayView(bloque.get(), qsizetype(n)), error))
            return cambiado() ? Lectura::Cambiado : Lectura::Fallo;
        if (op.TrasBloque)
            op.TrasBloque();
    }
    if (!destino.terminar(error))
        return cambiado() ? Lectura::Cambiado : Lectura::Fallo;
    if (cambiado() || (antes.st_size > 0 && total != antes.st_size))
        return Lectura::Cambiado;
    return Lectura::Bien;
}

// The file's bytes as they are.
class DestinoBytes : public TDestinoLectura {
  public:
    explicit DestinoBytes(QByteArray& b) : bytes(b) {}
    void empezar(qint64 tamano) override {
        bytes = QByteArray();
        bytes.reserve(qsizetype(tamano));
    }
    bool bloque(QByteArrayView datos, QString&) override {
        bytes.append(datos);
        return true;
    }
    bool terminar(QString&) override { return true; }

  private:
    QByteArray& bytes;
};
} // namespace

QString ClaseNoRegular(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return QStringLiteral("%1: %2").arg(path, sistema(errno));
    return clase(st);
}

QString TextoNoRegular(const QString& path, const QString& clase) {
    return TextoPista("_STR_RD_NOTREGULAR",
                      "%s no es un fichero normal sino %s; solo se pueden leer ficheros",
                      {path, clase});
}

QString TextoFicheroGrande(qint64 limite) {
    return TextoPista("_STR_RD_TOOBIG", "el fichero supera los %s MB que se pueden abrir",
                      {QString::number(limite >> 20)});
}

QString TextoSinMemoria() {
    return TextoPista("_STR_RD_NOMEMORY", "no hay memoria suficiente para leer este fichero");
}

bool LeerFicheroRegular(const QString& path, TDestinoLectura& destino, QString& error,
                        const TLecturaFichero& opciones) {
    try {
        for (int intento = 0; intento < 2; ++intento) {
            switch (leerUnaVez(path, destino, error, opciones)) {
            case Lectura::Bien:
                return true;
            case Lectura::Fallo:
                destino.empezar(0); // nothing half read stays behind
                return false;
            case Lectura::Cambiado:
                break;
            }
        }
    } catch (const std::bad_alloc&) {
        destino.empezar(0);
        error = TextoSinMemoria();
        return false;
    }
    destino.empezar(0);
    error = TextoPista("_STR_RD_CHANGED",
                       "%s ha cambiado mientras se leía (¿otro programa lo está "
                       "escribiendo?); vuelva a abrirlo cuando esté completo",
                       {path});
    return false;
}

bool LeerFicheroRegular(const QString& path, QByteArray& bytes, QString& error,
                        const TLecturaFichero& opciones) {
    DestinoBytes destino(bytes);
    return LeerFicheroRegular(path, destino, error, opciones);
}

namespace {
bool mismoFichero(const struct stat& a, const QString& otro) {
    struct stat b {};
    return !otro.isEmpty() && ::stat(QFile::encodeName(otro).constData(), &b) == 0 &&
           a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}
} // namespace

QString ComprobarDestino(const QString& destino, const QString& origen, bool reemplazar) {
    struct stat st {};
    // lstat: a symbolic link is judged itself, so a dangling one is not taken for a
    // free name.
    if (::lstat(QFile::encodeName(destino).constData(), &st) != 0) {
        if (errno == ENOENT)
            return QString();
        return QStringLiteral("%1: %2").arg(destino, sistema(errno));
    }
    if (S_ISLNK(st.st_mode))
        return TextoPista("_STR_RD_DEST_SYMLINK",
                          "El destino %s es un enlace simbólico; no se reemplaza", {destino});
    const QString tipo = clase(st);
    if (!tipo.isEmpty())
        return TextoPista("_STR_RD_DEST_NOTREGULAR",
                          "El destino %s no es un fichero normal sino %s; no se reemplaza",
                          {destino, tipo});
    if (mismoFichero(st, origen))
        return TextoPista("_STR_RD_DEST_SAME", "El destino %s es el mismo fichero que el origen",
                          {destino});
    if (!reemplazar)
        return TextoPista("_STR_RD_DEST_EXISTS",
                          "El fichero de destino ya existe: %s (--force lo reemplaza)", {destino});
    return QString();
}

bool MoverADestino(const QString& desde, const QString& hasta, bool reemplazar, QString& error) {
    const QByteArray a = QFile::encodeName(desde), b = QFile::encodeName(hasta);
    if (reemplazar) {
        struct stat st {};
        if (::lstat(b.constData(), &st) == 0 && !S_ISREG(st.st_mode)) {
            error = ComprobarDestino(hasta, QString(), true);
            return false;
        }
        if (std::rename(a.constData(), b.constData()) == 0)
            return true;
    } else {
        if (::renameat2(AT_FDCWD, a.constData(), AT_FDCWD, b.constData(), RENAME_NOREPLACE) == 0)
            return true;
        // File systems without that flag: a hard link refuses to replace as well.
        if (errno == EINVAL || errno == ENOSYS || errno == ENOTSUP) {
            if (::link(a.constData(), b.constData()) == 0) {
                ::unlink(a.constData());
                return true;
            }
        }
    }
    if (errno == EEXIST)
        error = TextoPista("_STR_RD_DEST_EXISTS",
                           "El fichero de destino ya existe: %s (--force lo reemplaza)", {hasta});
    else
        error = TextoPista("_STR_RD_DEST_WRITE",
                           "No se ha podido escribir el fichero de destino %s: %s",
                           {hasta, sistema(errno)});
    return false;
}

bool GrabarEnDestino(const QByteArray& bytes, const QString& destino, const QString& origen,
                     bool reemplazar, QString& error) {
    error = ComprobarDestino(destino, origen, reemplazar);
    if (!error.isEmpty())
        return false;
    const QFileInfo info(destino);
    QTemporaryFile temporal(info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                            QStringLiteral(".XXXXXX"));
    if (!temporal.open() || temporal.write(bytes) != bytes.size() || !temporal.flush() ||
        ::fsync(temporal.handle()) != 0) {
        error = TextoPista("_STR_RD_DEST_CREATE", "No se puede crear el fichero %s: %s",
                           {destino, temporal.errorString()});
        return false;
    }
    temporal.close();
    // The temporary file is made private; the destination gets the usual permissions.
    const mode_t mascara = ::umask(0);
    ::umask(mascara);
    ::chmod(QFile::encodeName(temporal.fileName()).constData(), 0666 & ~mascara);
    if (!MoverADestino(temporal.fileName(), destino, reemplazar, error))
        return false; // the temporary file removes itself
    temporal.setAutoRemove(false);
    return true;
}
