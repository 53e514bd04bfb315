#pragma once

#include <QApplication>

// The application object: an error that escapes any event handler ends in the one
// program-wide error box, and the program goes on.
class TAplicacion : public QApplication {
    Q_OBJECT
  public:
    TAplicacion(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// `senderal --snapshot DIR [FILE]`: draws the window with FILE loaded into one PNG per
// page. Returns the exit status; a load error is written to stderr.
int EjecutarSnapshot(const QString& dir, const QString& file);

// `senderal --load-time FILE`: loads FILE as the command line does, without a display,
// and prints how long it took until the data page was drawn.
int MedirCarga(const QString& file);

// The normal start: the window, then the data holder, then the event loop.
int EjecutarVentana(const QStringList& arguments);
