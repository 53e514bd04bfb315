// One input: read as a GPX file through the mapping the program ships, then measured as
// the views measure it. Any memory error, undefined behaviour, crash or hang is a find.
#include "GpxMapping.h"
#include "GpxReader.h"
#include "TablaMedidas.h"
#include "TrackStores.h"
#include "XmlScanner.h"

#include <QByteArray>
#include <QFile>
#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {
const TGpxMapping& mapeo() {
    static const TGpxMapping m = [] {
        TGpxMapping r;
        QFile f(QStringLiteral(SENDERAL_MAPEO));
        QString error;
        if (!f.open(QIODevice::ReadOnly) || !TGpxMapping::Parse(f.readAll(), r, error))
            std::abort();
        return r;
    }();
    return m;
}

// The input decoded in blocks of a size its last byte picks (as a file is decoded while
// it is read) must give what decoding it whole gives.
void mismoDocumentoPorBloques(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView todo(reinterpret_cast<const char*>(data), qsizetype(size));
    QString errorTodo, errorBloques;
    TDocumentoUtf8 entero;
    const bool bienTodo = entero.Todo(todo.toByteArray(), errorTodo);
    const qsizetype tam = size == 0 ? 1 : 1 + data[size - 1] % 7;
    TDocumentoUtf8 bloques;
    bloques.empezar(qint64(size));
    bool bien = true;
    for (qsizetype at = 0; bien && at < todo.size(); at += tam)
        bien = bloques.bloque(todo.sliced(at, std::min(tam, todo.size() - at)), errorBloques);
    bien = bien && bloques.terminar(errorBloques);
    if (bien != bienTodo || (bien && entero.Tomar() != bloques.Tomar()))
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TrackHeader header;
    TTrackPointStore points;
    QString error;
    mismoDocumentoPorBloques(data, size);
    QByteArray raw(reinterpret_cast<const char*>(data), qsizetype(size));
    if (!LeerGpxBytes(std::move(raw), mapeo(), header, points, error))
        return 0;
    points.Open();
    const auto tabla = TTablaMedidas::Calcular(points);
    double suma = 0;
    for (int i = 0; i < tabla->PuntosMedidos(); ++i)
        suma += tabla->Distancia(i) + tabla->AscAcumulado(i) + tabla->VelocidadInstant(i);
    for (int i = 0; i < points.RecordCount(); ++i)
        suma += double(points.Valor(i, 0).size() + points.Valor(i, 3).size());
    static volatile double sumidero;
    sumidero = suma;
    return 0;
}
