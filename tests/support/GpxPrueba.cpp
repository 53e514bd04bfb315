#include "GpxPrueba.h"

#include <QDateTime>

QByteArray PistaTresPuntos(const QByteArray& nombre, int pasoS, const QByteArray& creador) {
    const QDateTime inicio(QDate(2011, 5, 1), QTime(10, 0), Qt::UTC);
    auto hora = [&](int paso) {
        return inicio.addSecs(qint64(paso) * pasoS).toString(Qt::ISODate).toLatin1();
    };
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<gpx version=\"1.1\" creator=\"" +
           creador +
           "\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n"
           " <trk><name>" +
           nombre +
           "</name><trkseg>\n"
           "  <trkpt lat=\"41.0\" lon=\"2.0\"><ele>500</ele><time>" +
           hora(0) +
           "</time></trkpt>\n"
           "  <trkpt lat=\"41.001\" lon=\"2.002\"><ele>510</ele><time>" +
           hora(1) +
           "</time></trkpt>\n"
           "  <trkpt lat=\"41.0005\" lon=\"2.004\"><ele>505</ele><time>" +
           hora(2) +
           "</time></trkpt>\n"
           " </trkseg></trk>\n"
           "</gpx>\n";
}

QByteArray GpxPequeno() {
    return R"(<?xml version="1.0" encoding="UTF-8"?>
<gpx version="1.1" creator="prueba" xmlns="http://www.topografix.com/GPX/1/1">
 <trk><name>Prueba</name><trkseg>
  <trkpt lat="41.769967" lon="2.430064"><ele>619.5</ele><time>2022-05-14T06:40:00Z</time><fix>3d</fix></trkpt>
  <trkpt lat="41.770934" lon="2.431128"><ele>621.0</ele><time>2022-05-14T06:40:05Z</time><fix>3d</fix></trkpt>
  <trkpt lat="41.771902" lon="2.432192"><ele>624.5</ele><time>2022-05-14T06:40:10Z</time><fix>3d</fix></trkpt>
  <trkpt lat="41.772811" lon="2.433500"><ele>630.0</ele><time>2022-05-14T06:40:15Z</time><fix>3d</fix></trkpt>
 </trkseg></trk>
</gpx>
)";
}
