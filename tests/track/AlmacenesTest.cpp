#include "Log.h"
#include "TrackStores.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {
void llenar(TTrackPointStore& s, int n) {
    for (int i = 0; i < n; ++i) {
        s.NuevoPunto();
        const std::string lat = std::to_string(40 + i);
        s.FijarCampo(CampoPunto::Lat, lat);
        s.FijarCampo(CampoPunto::Lon, "2");
    }
}
} // namespace

TEST(TTrackPointStore, SequentialReadingWalksEveryRecord) {
    TTrackPointStore s;
    llenar(s, 3);
    s.Open();
    QStringList lats;
    for (s.First(); !s.Eof(); s.Next())
        lats << s.FieldByName(u"LAT");
    EXPECT_EQ(lats, (QStringList{"40", "41", "42"}));
    s.Next();
    EXPECT_TRUE(s.Eof()) << "Next past the end stays at the end";
    EXPECT_EQ(s.valor(1, CampoPunto::Ele), QString()) << "a field never set is empty";
    EXPECT_EQ(s.Valor(7, 0), QString()) << "a record out of range is empty";
    EXPECT_EQ(s.texto(2, CampoPunto::Lat), "42");
}

TEST(TTrackPointStore, LongTextsAreKeptWhole) {
    // Texts and offsets past what a compact record holds take the slower way.
    const std::string largo(300, '7');
    const std::string medio(254, '5');
    TTrackPointStore s;
    s.NuevoPunto();
    s.FijarCampo(CampoPunto::Lat, "41.5");
    s.FijarCampo(CampoPunto::Ele, largo);
    s.FijarCampo(CampoPunto::Time, "2011-05-01T10:00:00Z"); // 304 bytes after the start
    s.FijarCampo(CampoPunto::Lon, medio);
    s.NuevoPunto();
    s.FijarCampo(CampoPunto::Lat, "41.6");
    s.Open();
    EXPECT_EQ(s.texto(0, CampoPunto::Lat), "41.5");
    EXPECT_EQ(s.texto(0, CampoPunto::Ele), largo);
    EXPECT_EQ(s.texto(0, CampoPunto::Time), "2011-05-01T10:00:00Z");
    EXPECT_EQ(s.texto(0, CampoPunto::Lon), medio);
    EXPECT_EQ(s.texto(1, CampoPunto::Lat), "41.6");
    EXPECT_EQ(s.texto(1, CampoPunto::Ele), "");
}

TEST(TTrackPointStore, CloseEmptiesAndDeactivates) {
    TTrackPointStore s;
    llenar(s, 2);
    s.Open();
    ASSERT_TRUE(s.Active());
    s.Close();
    EXPECT_FALSE(s.Active());
    EXPECT_EQ(s.RecordCount(), 0);
    EXPECT_TRUE(s.Eof());
}

TEST(TDataStore, SuspendedNotificationsAreToldOnceOnResume) {
    TTrackPointStore s;
    QSignalSpy spy(&s, &TDataStore::DatosCambiados);
    s.DisableControls();
    s.DisableControls(); // nested
    llenar(s, 2);
    s.Open();
    s.EmptyDataSet();
    EXPECT_EQ(spy.count(), 0);
    s.EnableControls();
    EXPECT_EQ(spy.count(), 0) << "still suspended once";
    s.EnableControls();
    EXPECT_EQ(spy.count(), 1);
    s.Close();
    EXPECT_EQ(spy.count(), 3) << "not suspended: every change is told";
}

TEST(TTrackHeaderStore, OneRecordWhileOpen) {
    TTrackHeaderStore h;
    EXPECT_EQ(h.RecordCount(), 0);
    TrackHeader rec;
    rec.name = QStringLiteral("Ruta");
    rec.DisplayColor = QStringLiteral("Blue");
    h.Open(rec);
    EXPECT_TRUE(h.Active());
    EXPECT_EQ(h.RecordCount(), 1);
    h.First();
    EXPECT_EQ(h.FieldByName(u"NAME"), "Ruta");
    EXPECT_EQ(h.FieldByName(u"displaycolor"), "Blue");
    h.Close();
    EXPECT_FALSE(h.Active());
    EXPECT_EQ(h.RecordCount(), 0);
    EXPECT_EQ(h.Cabecera().name, QString());
}

TEST(TLog, LinesAreAppendedAfterTheFirstEmptyLine) {
    TLog log;
    EXPECT_EQ(log.Lineas(), QStringList{QString()});
    log._Log(QString(), false);
    log._Log(QStringLiteral("Abrir Datasets"), false);
    log._Log(QString(), true);
    log._Log(QStringLiteral("Se va a cargar la ruta..."), true);
    const QStringList& l = log.Lineas();
    ASSERT_EQ(l.size(), 5);
    EXPECT_EQ(l[1], QString()) << "an empty text without time is an empty line";
    EXPECT_EQ(l[2], "Abrir Datasets");
    const QRegularExpression conHora(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d  -->  (.*)$"));
    EXPECT_TRUE(conHora.match(l[3]).hasMatch()) << l[3].toStdString();
    EXPECT_EQ(conHora.match(l[3]).captured(1), QString());
    EXPECT_EQ(conHora.match(l[4]).captured(1), "Se va a cargar la ruta...");
}

TEST(TLog, RectangleIsSixLines) {
    TLog log;
    log._LogRect(QStringLiteral("Canvas"), QRect(QPoint(10, 20), QPoint(109, 69)));
    const QStringList& l = log.Lineas();
    ASSERT_EQ(l.size(), 7);
    EXPECT_EQ(l[1], QStringLiteral("Canvas") + QString(22, QChar(0x00B7)));
    EXPECT_EQ(l[2], "   Left:   10");
    EXPECT_EQ(l[3], "   Top:    20");
    EXPECT_EQ(l[4], "   Right:  110");
    EXPECT_EQ(l[5], "   Bottom: 70");
    EXPECT_EQ(l[6], QString(45, QChar(0x00B7)));
}
