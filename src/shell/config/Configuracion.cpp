#include "Configuracion.h"

#include "AppPaths.h"
#include "IniTexto.h"
#include "Numeros.h"

#include <QCoreApplication>
#include <QFileInfo>

const QString kSeccionConfig = QStringLiteral("Config");
const QString kSeccionListaTemas = QStringLiteral("Config.outcbConfigEstilo_Items");

QString FicheroConfiguracion() {
    QString nombre = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    const qsizetype punto = nombre.lastIndexOf(QLatin1Char('.'));
    if (punto > 0)
        nombre.truncate(punto);
    return ConfigDir() + nombre + QStringLiteral(".ini");
}

QString TextoBooleano(bool valor) {
    return valor ? QStringLiteral("True") : QStringLiteral("False");
}

namespace {
class TLector {
  public:
    explicit TLector(const TIniTexto& ini) : FIni(ini) {}

    void texto(const char* clave, QString& destino) const {
        if (FIni.TieneClave(kSeccionConfig, QLatin1String(clave)))
            destino = FIni.Valor(kSeccionConfig, QLatin1String(clave));
    }
    // A value that is no integer in [min, max] keeps the default.
    void entero(const char* clave, int& destino, int min, int max) const {
        bool ok = false;
        const int n = FIni.Valor(kSeccionConfig, QLatin1String(clave)).toInt(&ok);
        if (ok && n >= min && n <= max)
            destino = n;
    }
    // A '.' decimal number in [min, max]; anything else keeps the default.
    void real(const char* clave, double& destino, double min, double max) const {
        double v = 0;
        if (IntentarLeerNumero(QStringView(FIni.Valor(kSeccionConfig, QLatin1String(clave))), v) &&
            v >= min && v <= max)
            destino = v;
    }
    void color(const char* clave, quint32& destino) const {
        bool ok = false;
        const qint64 n = FIni.Valor(kSeccionConfig, QLatin1String(clave)).toLongLong(&ok);
        if (ok && n >= INT32_MIN && n <= UINT32_MAX)
            destino = static_cast<quint32>(n);
    }
    void booleano(const char* clave, bool& destino) const {
        const QString v = FIni.Valor(kSeccionConfig, QLatin1String(clave)).trimmed();
        if (v.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0 || v == QLatin1String("1"))
            destino = true;
        else if (v.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0 ||
                 v == QLatin1String("0"))
            destino = false;
    }
    bool cuatroEnteros(const char* clave, int (&n)[4]) const {
        const QStringList partes =
            FIni.Valor(kSeccionConfig, QLatin1String(clave)).split(QLatin1Char(','));
        if (partes.size() != 4)
            return false;
        for (int i = 0; i < 4; ++i) {
            bool ok = false;
            n[i] = partes[i].trimmed().toInt(&ok);
            if (!ok)
                return false;
        }
        return true;
    }

  private:
    const TIniTexto& FIni;
};

void leerVentana(const TLector& l, TPosicionVentana& v) {
    l.entero("FormVersion", v.FormVersion, INT_MIN, INT_MAX);
    l.entero("Flags", v.Flags, INT_MIN, INT_MAX);
    l.entero("ShowCmd", v.ShowCmd, INT_MIN, INT_MAX);
    l.entero("PixelsPerInch", v.PixelsPerInch, 1, 10000);
    l.booleano("Visible", v.Visible);
    int mm[4];
    if (l.cuatroEnteros("MinMaxPos", mm)) {
        v.MinPos = QPoint(mm[0], mm[1]);
        v.MaxPos = QPoint(mm[2], mm[3]);
    }
    int r[4];
    if (l.cuatroEnteros("NormPos", r) && r[2] > r[0] && r[3] > r[1]) {
        v.NormPos = QRect(QPoint(r[0], r[1]), QPoint(r[2] - 1, r[3] - 1));
        v.Presente = true;
    }
}
} // namespace

TConfiguracion LeerConfiguracion(const TIniTexto& ini) {
    TConfiguracion c;
    const TLector l(ini);
    l.texto("Idioma", c.Idioma);
    l.texto("IdiomaTexto", c.IdiomaTexto);
    l.texto("GPSBabel", c.GPSBabel);
    l.entero("Tema", c.Tema, INT_MIN, INT_MAX);
    l.texto("UpdateURL", c.UpdateURL);
    l.texto("IBPIndexURL", c.IBPIndexURL);
    // Only a clear answer counts; anything else means the user has not been asked yet.
    bool enviar = false, enviarNo = true;
    l.booleano("EnviarIBP", enviar);
    l.booleano("EnviarIBP", enviarNo);
    if (enviar == enviarNo)
        c.EnviarIBP = enviar ? 1 : 0;
    l.real("UmbralDesnivel", c.UmbralDesnivel, 0, 1000);

    l.entero("seAnchoLinea_Value", c.seAnchoLinea_Value, 1, 10);
    l.color("colbLinea_Selected", c.colbLinea_Selected);
    l.booleano("cbConfigUpdateInicio_Checked", c.cbConfigUpdateInicio_Checked);
    l.booleano("ActionVerConLineas_Checked", c.ActionVerConLineas_Checked);
    l.booleano("ActionVerConPuntos_Checked", c.ActionVerConPuntos_Checked);
    l.texto("edtBabel_Text", c.edtBabel_Text);
    // A zero or negative interval would make the animation timer spin.
    l.entero("TimerAnim_Interval", c.TimerAnim_Interval, 1, 60000);
    l.entero("sbVElocidad_Position", c.sbVElocidad_Position, 1, 5);
    l.booleano("cbAnchoLineaAuto_Checked", c.cbAnchoLineaAuto_Checked);
    l.entero("edtConfigIdioma_Tag", c.edtConfigIdioma_Tag, INT_MIN, INT_MAX);
    l.entero("outcbIdioma_ItemIndex", c.outcbIdioma_ItemIndex, -1, 2);

    leerVentana(l, c.Ventana);
    return c;
}

TConfiguracion LeerConfiguracion(const QString& path, bool* existe) {
    return LeerConfiguracion(TIniTexto::AjustesDesdeFichero(path, existe));
}

namespace {
void escribirValores(const TConfiguracion& c, TIniTexto& ini) {
    ini.Escribir(kSeccionConfig, QStringLiteral("Idioma"), c.Idioma);
    ini.Escribir(kSeccionConfig, QStringLiteral("IdiomaTexto"), c.IdiomaTexto);
    ini.Escribir(kSeccionConfig, QStringLiteral("GPSBabel"), c.GPSBabel);
    ini.Escribir(kSeccionConfig, QStringLiteral("Tema"), QString::number(c.Tema));
    ini.Escribir(kSeccionConfig, QStringLiteral("UpdateURL"), c.UpdateURL);
    ini.Escribir(kSeccionConfig, QStringLiteral("IBPIndexURL"), c.IBPIndexURL);
    if (c.EnviarIBP >= 0)
        ini.Escribir(kSeccionConfig, QStringLiteral("EnviarIBP"), TextoBooleano(c.EnviarIBP == 1));
}

QString cuatro(int a, int b, int c, int d) {
    return QStringLiteral("%1,%2,%3,%4").arg(a).arg(b).arg(c).arg(d);
}

void escribirVentana(const TPosicionVentana& v, TIniTexto& ini) {
    ini.Escribir(kSeccionConfig, QStringLiteral("FormVersion"), QString::number(v.FormVersion));
    ini.Escribir(kSeccionConfig, QStringLiteral("Flags"), QString::number(v.Flags));
    ini.Escribir(kSeccionConfig, QStringLiteral("ShowCmd"), QString::number(v.ShowCmd));
    ini.Escribir(kSeccionConfig, QStringLiteral("PixelsPerInch"), QString::number(v.PixelsPerInch));
    ini.Escribir(kSeccionConfig, QStringLiteral("MinMaxPos"),
                 cuatro(v.MinPos.x(), v.MinPos.y(), v.MaxPos.x(), v.MaxPos.y()));
    const QRect& r = v.NormPos;
    ini.Escribir(kSeccionConfig, QStringLiteral("NormPos"),
                 cuatro(r.left(), r.top(), r.left() + r.width(), r.top() + r.height()));
    ini.Escribir(kSeccionConfig, QStringLiteral("Visible"), TextoBooleano(v.Visible));
}

void escribirPropiedades(const TConfiguracion& c, TIniTexto& ini) {
    auto n = [&ini](const char* clave, qint64 valor) {
        ini.Escribir(kSeccionConfig, QLatin1String(clave), QString::number(valor));
    };
    auto b = [&ini](const char* clave, bool valor) {
        ini.Escribir(kSeccionConfig, QLatin1String(clave), TextoBooleano(valor));
    };
    n("seAnchoLinea_Value", c.seAnchoLinea_Value);
    n("colbLinea_Selected",
      static_cast<qint32>(c.colbLinea_Selected)); // system colours stay negative
    b("cbConfigUpdateInicio_Checked", c.cbConfigUpdateInicio_Checked);
    b("ActionVerConLineas_Checked", c.ActionVerConLineas_Checked);
    b("ActionVerConPuntos_Checked", c.ActionVerConPuntos_Checked);
    ini.Escribir(kSeccionConfig, QStringLiteral("edtBabel_Text"), c.edtBabel_Text);
    n("TimerAnim_Interval", c.TimerAnim_Interval);
    n("sbVElocidad_Position", c.sbVElocidad_Position);
    b("cbAnchoLineaAuto_Checked", c.cbAnchoLineaAuto_Checked);
    n("edtConfigIdioma_Tag", 0); // the tag carries nothing; it is always stored as 0
    n("outcbIdioma_ItemIndex", c.outcbIdioma_ItemIndex);
}
} // namespace

void EscribirConfiguracion(const TConfiguracion& c, const QStringList& temas, TIniTexto& ini) {
    escribirValores(c, ini);
    escribirVentana(c.Ventana, ini);
    escribirPropiedades(c, ini);
    ini.BorrarSeccion(kSeccionListaTemas);
    ini.Escribir(kSeccionListaTemas, QStringLiteral("Count"), QString::number(temas.size()));
    for (int i = 0; i < temas.size(); ++i)
        ini.Escribir(kSeccionListaTemas, QStringLiteral("Item%1").arg(i), temas[i]);
}

bool GuardarConfiguracion(const TConfiguracion& c, const QStringList& temas, const QString& path,
                          QString* error) {
    TIniTexto ini = TIniTexto::AjustesDesdeFichero(path);
    EscribirConfiguracion(c, temas, ini);
    return ini.Guardar(path, error);
}
