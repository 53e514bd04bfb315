#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

class QFrame;
class QLabel;
class QPrinter;
class QPushButton;
class QUrl;
class QWebEngineView;
class TConsultaIBP;
class TIndicadorOcupado;
class TLog;

// The page "IBP Index": the result browser `wbIBPIndex` with the busy indicator `pnlanim`
// over it, and the commands that act on the result. The queries themselves are run by
// `Consulta`; the main window owns the captions, which it takes from the signals.
class TPaginaIBP : public QWidget {
    Q_OBJECT
  public:
    explicit TPaginaIBP(TLog* log, QWidget* parent = nullptr);
    ~TPaginaIBP() override;

    QWebEngineView* wbIBPIndex;
    TIndicadorOcupado* pnlanim;
    TConsultaIBP* Consulta;
    // A note above the browser when there is no index to show: why the query failed, or
    // that the track was not sent; its button starts a query for the loaded track.
    QFrame* pnlAvisoIBP;
    QLabel* lblAvisoIBP;
    QPushButton* btnAvisoIBP;

    // Dialogs and the desktop's browser; tests replace them.
    std::function<bool(QPrinter*)> DialogoImprimir;    // true: print on that printer
    std::function<QString(const QString&)> SDPDF;      // suggested name in, chosen file out
    std::function<bool(const QUrl&)> AbrirEnNavegador; // false: nothing opened it
    std::function<void(const QString&)> Avisar;        // a warning box

    // Starts one query for the track at `trackPath`.
    void RefreshClick(const QString& trackPath);
    // The query that ends a load: an empty page under the busy indicator meanwhile.
    void ConsultarIBP(const QString& trackPath);
    void ActionRecalcularIBPExecute();
    // The recalculate command: reloads the analysis page; when the last query for the
    // track at `trackPath` gave none, sends the track again instead.
    void Recalcular(const QString& trackPath);
    void ActionImprimirIBPIndexExecute();
    // Asks where to save and downloads the PDF there; false when nothing was saved.
    bool ActionGrabarIBPIndexExecute(const QString& trackPath);
    void ActionAbrirWebIBPIndexExecute();
    // The user did not allow tracks to be sent: the page says so and offers to send this one.
    void MostrarSinEnviar();
    // Words the note shown (if any) again in the language in force.
    void TraducirAviso();
    // The last finished query's analysis page and its PDF; empty without a result.
    QString IBPIndexPage() const;
    QString IBPIndexPDFFilename() const;
    // A query was started for the loaded track (so trying again sends nothing new).
    bool HuboEnvio() const { return FHuboEnvio; }
    // The route is closed: empty page, results forgotten, a query still running dropped.
    void LimpiarIBP();
    // Keeps the busy indicator centred across the window and at one third of the
    // window's height, held inside this page.
    void ColocarIndicador();

    // The browser's target; an empty address shows an empty page.
    void Navegar(const QString& url);
    bool Imprimiendo() const { return static_cast<bool>(FImpresora); }

  signals:
    void CaptionPagina(const QString& caption); // caption of tsIBPIndex
    void CaptionCinta(const QString& caption);  // caption of the ribbon tab rpIBPIndex
    // A query ended: the analysis page and its PDF (either may be empty).
    void Resultado(const QString& IBPIndexPage, const QString& IBPIndexPDFFilename);
    void ImpresionTerminada(bool ok);
    // The note's button: send the loaded track now (again, after a failure).
    void EnvioPedido();

  protected:
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;

  private:
    void IBPTerminado(const QString& URLNavigate);
    // The note over the page: none, a failed query, or a track that was not sent.
    enum class TAviso { Ninguno, Fallo, SinEnviar };
    void mostrarAviso(TAviso aviso);
    void ocultarAviso();
    QString motivoFallo() const;

    TAviso FAviso = TAviso::Ninguno;

    std::unique_ptr<QPrinter> FImpresora; // kept alive until the browser has printed
    bool FHuboEnvio = false;
};
