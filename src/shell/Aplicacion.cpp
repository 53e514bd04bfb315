#include "Aplicacion.h"

#include "AppPaths.h"
#include "FormData.h"
#include "FormMain.h"
#include "SenderalError.h"

#include <QAction>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QIcon>
#include <QTimer>
#include <cstdio>
#include <ctime>

TAplicacion::TAplicacion(int& argc, char** argv) : QApplication(argc, argv) {}

bool TAplicacion::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const ESenderalError& e) {
        TFMain::MostrarErrorGlobal(e.text());
    } catch (const std::exception& e) {
        TFMain::MostrarErrorGlobal(QString::fromLocal8Bit(e.what()));
    }
    return false;
}

int EjecutarVentana(const QStringList& arguments) {
    QApplication::setApplicationDisplayName(QString());
    // The desktop matches the window to its menu entry (senderal.desktop) and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("senderal"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/about/icono.svg")));
    TFMain window(arguments);
    TFormData data(window.Log);
    window.SetFormData(&data);
    window.show();
    return QApplication::exec();
}

int EjecutarSnapshot(const QString& dir, const QString& file) {
    QStringList args{QCoreApplication::applicationFilePath()};
    if (!file.isEmpty())
        args << file;
    TFMain window(args);
    TFormData data(window.Log);
    window.SetFormData(&data);
    QStringList errors;
    auto collect = [&errors](const QString& t) { errors << t; };
    window.MensajeError = collect;
    window.MensajeAviso = collect;
    window.MensajeInfo = [](const QString&) {};
    window.MensajePregunta = [](const QString&) { return false; };
    TFMain::ManejadorErrorGlobal = collect;
    window.show();
    // Let the deferred start-up and the load run, then give web pages time to draw.
    QTimer done;
    done.setSingleShot(true);
    done.start(3000);
    while (done.isActive() && !window.DoneVisualization)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    // The pictures show every page, web pages included: the map loads when its page is
    // on screen, so it is opened now and given the time below to draw.
    if (file.isEmpty() || window.HabilitadoTrack())
        window.ActionVerGraficoMaps->trigger();
    QTimer settle;
    settle.setSingleShot(true);
    settle.start(2500);
    while (settle.isActive())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    const bool loaded = file.isEmpty() || (data.cdsTrack.Active() && window.HabilitadoTrack());
    if (!loaded || !errors.isEmpty()) {
        std::fprintf(stderr, "%s\n",
                     qPrintable(errors.isEmpty()
                                    ? QStringLiteral("No se ha podido cargar %1").arg(file)
                                    : errors.join(QLatin1Char('\n'))));
        if (!loaded)
            return 1;
    }
    QString why;
    if (!window.GuardarSnapshots(dir, why)) {
        std::fprintf(stderr, "%s\n", qPrintable(why));
        return 1;
    }
    std::printf("%s\n", qPrintable(QFileInfo(dir).absoluteFilePath()));
    window.LimpiarCache();
    return 0;
}

int MedirCarga(const QString& file) {
    TFMain window(QStringList{QCoreApplication::applicationFilePath()});
    TFormData data(window.Log);
    window.SetFormData(&data);
    QStringList errors;
    auto collect = [&errors](const QString& t) { errors << t; };
    window.MensajeError = collect;
    window.MensajeAviso = collect;
    // A measurement asks nothing and sends no track anywhere.
    window.MensajePregunta = [](const QString&) { return false; };
    TFMain::ManejadorErrorGlobal = collect;
    window.show();
    QCoreApplication::processEvents();
    QElapsedTimer clock;
    clock.start();
    // The processor time of the load too: on a busy machine the wall time says more about
    // the other programs than about the load.
    const std::clock_t cpu0 = std::clock();
    TFMain::Proteger([&] { window.CargarRuta(file); });
    window.repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    const qint64 ms = clock.elapsed();
    const long long cpuMs = static_cast<long long>((std::clock() - cpu0) * 1000.0 / CLOCKS_PER_SEC);
    window.LimpiarCache();
    if (!errors.isEmpty() || !data.cdsTrack.Active()) {
        std::fprintf(stderr, "%s\n", qPrintable(errors.join(QLatin1Char('\n'))));
        return 1;
    }
    std::printf("points: %d\nload_ms: %lld\nload_cpu_ms: %lld\n", data.cdsPoints.RecordCount(),
                static_cast<long long>(ms), cpuMs);
    return 0;
}
