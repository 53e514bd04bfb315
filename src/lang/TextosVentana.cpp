#include "TextosVentana.h"

#include "AppPaths.h"
#include "FiltroDialogo.h"
#include "IniTexto.h"
#include "Verbario.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableView>
#include <QTextEdit>
#include <QTranslator>
#include <QTreeView>

#include <functional>
#include <memory>

namespace {
const char* const PropCaption = "Caption";
const char* const PropHint = "Hint";
const char* const PropText = "Text";

bool esElemento(const QObject* o) {
    const QString name = o->objectName();
    return !name.isEmpty() && !name.startsWith(QLatin1String("qt_")) &&
           !o->property("SinTraduccion").toBool();
}

void recorrer(const QObject* parent, QList<QObject*>& out) {
    for (QObject* child : parent->children()) {
        if (esElemento(child))
            out << child;
        // Another window (a dialog, an about window) has its own texts; menus belong here.
        const auto* w = qobject_cast<const QWidget*>(child);
        if (w && w->isWindow() && !qobject_cast<const QMenu*>(w))
            continue;
        recorrer(child, out);
    }
}

// A tab page of a QTabWidget: the page sits in the tab widget's inner stack.
QTabWidget* pestanaDe(QObject* o, int& index) {
    auto* page = qobject_cast<QWidget*>(o);
    auto* stack = page ? qobject_cast<QStackedWidget*>(page->parentWidget()) : nullptr;
    auto* tabs = stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
    index = tabs ? tabs->indexOf(page) : -1;
    return index >= 0 ? tabs : nullptr;
}

bool etiquetaDeTexto(const QLabel* l) {
    return l->pixmap().isNull() && !l->movie();
}

std::optional<QString> leerCaption(QObject* o) {
    if (o->property(PropCaption).isValid())
        return o->property(PropCaption).toString();
    if (auto* a = qobject_cast<QAction*>(o))
        return a->text();
    if (auto* m = qobject_cast<QMenu*>(o))
        return m->title();
    if (auto* g = qobject_cast<QGroupBox*>(o))
        return g->title();
    if (auto* b = qobject_cast<QAbstractButton*>(o))
        return b->text();
    if (auto* l = qobject_cast<QLabel*>(o))
        return etiquetaDeTexto(l) ? std::optional<QString>(l->text()) : std::nullopt;
    if (auto* d = qobject_cast<QDockWidget*>(o))
        return d->windowTitle();
    int index = -1;
    if (QTabWidget* tabs = pestanaDe(o, index))
        return tabs->tabText(index);
    if (auto* w = qobject_cast<QWidget*>(o); w && w->isWindow())
        return w->windowTitle();
    return std::nullopt;
}

void ponerCaption(QObject* o, const QString& v) {
    if (o->property(PropCaption).isValid()) {
        o->setProperty(PropCaption, v);
    } else if (auto* a = qobject_cast<QAction*>(o)) {
        a->setText(v);
    } else if (auto* m = qobject_cast<QMenu*>(o)) {
        m->setTitle(v);
    } else if (auto* g = qobject_cast<QGroupBox*>(o)) {
        g->setTitle(v);
    } else if (auto* b = qobject_cast<QAbstractButton*>(o)) {
        b->setText(v);
    } else if (auto* l = qobject_cast<QLabel*>(o)) {
        if (etiquetaDeTexto(l))
            l->setText(v);
    } else if (auto* d = qobject_cast<QDockWidget*>(o)) {
        d->setWindowTitle(v);
    } else if (int index = -1; QTabWidget* tabs = pestanaDe(o, index)) {
        tabs->setTabText(index, v);
    } else if (auto* w = qobject_cast<QWidget*>(o); w && w->isWindow()) {
        w->setWindowTitle(v);
    }
}

std::optional<QString> leerHint(QObject* o) {
    if (o->property(PropHint).isValid())
        return o->property(PropHint).toString();
    if (auto* a = qobject_cast<QAction*>(o)) {
        if (!a->statusTip().isEmpty())
            return a->statusTip();
        // An action without a tool tip of its own reports its text without '&'.
        QString plain = a->text();
        plain.remove(QLatin1Char('&'));
        return a->toolTip() == plain ? QString() : a->toolTip();
    }
    if (auto* w = qobject_cast<QWidget*>(o))
        return w->toolTip().isEmpty() ? w->statusTip() : w->toolTip();
    return std::nullopt;
}

void ponerHint(QObject* o, const QString& v) {
    if (o->property(PropHint).isValid()) {
        o->setProperty(PropHint, v);
    } else if (auto* a = qobject_cast<QAction*>(o)) {
        a->setToolTip(v);
        a->setStatusTip(v);
    } else if (auto* w = qobject_cast<QWidget*>(o)) {
        w->setToolTip(v);
        w->setStatusTip(v);
    }
}

// The template writes ".Text" for edit boxes only.
std::optional<QString> leerTextoEdicion(QObject* o) {
    if (o->property(PropText).isValid())
        return o->property(PropText).toString();
    if (auto* e = qobject_cast<QLineEdit*>(o))
        return e->text();
    return std::nullopt;
}

void ponerTexto(QObject* o, const QString& v) {
    if (o->property(PropText).isValid()) {
        o->setProperty(PropText, v);
    } else if (auto* e = qobject_cast<QLineEdit*>(o)) {
        e->setText(v);
    } else if (auto* c = qobject_cast<QComboBox*>(o)) {
        if (c->isEditable())
            c->setEditText(v);
    } else if (auto* p = qobject_cast<QPlainTextEdit*>(o)) {
        p->setPlainText(v);
    } else if (auto* t = qobject_cast<QTextEdit*>(o)) {
        t->setPlainText(v);
    }
}

std::optional<QStringList> leerLineas(QObject* o) {
    if (auto* p = qobject_cast<QPlainTextEdit*>(o))
        return p->toPlainText().split(QLatin1Char('\n'));
    if (auto* t = qobject_cast<QTextEdit*>(o))
        return t->toPlainText().split(QLatin1Char('\n'));
    return std::nullopt;
}

void ponerLineas(QObject* o, const QStringList& lines) {
    if (auto* p = qobject_cast<QPlainTextEdit*>(o))
        p->setPlainText(lines.join(QLatin1Char('\n')));
    else if (auto* t = qobject_cast<QTextEdit*>(o))
        t->setPlainText(lines.join(QLatin1Char('\n')));
}

QAbstractItemModel* modeloColumnas(QObject* o) {
    if (auto* t = qobject_cast<QTableView*>(o))
        return t->model();
    if (auto* t = qobject_cast<QTreeView*>(o))
        return t->model();
    return nullptr;
}

std::optional<QStringList> leerColumnas(QObject* o) {
    QAbstractItemModel* model = modeloColumnas(o);
    if (!qobject_cast<QTableView*>(o) && !qobject_cast<QTreeView*>(o))
        return std::nullopt;
    QStringList titles;
    for (int i = 0; model && i < model->columnCount(); ++i)
        titles << model->headerData(i, Qt::Horizontal, Qt::DisplayRole).toString();
    return titles;
}

// A list box: a list widget, or a plain list view over its model's first column.
std::optional<QStringList> leerItemsLista(QObject* o) {
    auto* view = qobject_cast<QListView*>(o);
    if (!view)
        return std::nullopt;
    QStringList items;
    QAbstractItemModel* model = view->model();
    for (int i = 0; model && i < model->rowCount(); ++i)
        items << model->data(model->index(i, view->modelColumn())).toString();
    return items;
}

std::optional<QStringList> leerItemsCombo(QObject* o) {
    auto* c = qobject_cast<QComboBox*>(o);
    if (!c)
        return std::nullopt;
    QStringList items;
    for (int i = 0; i < c->count(); ++i)
        items << c->itemText(i);
    return items;
}

// Labels by the element they label, for ".EditLabel.Caption".
QHash<QObject*, QLabel*> etiquetasAdjuntas(QObject* window) {
    QHash<QObject*, QLabel*> labels;
    for (QLabel* l : window->findChildren<QLabel*>())
        if (l->buddy())
            labels.insert(l->buddy(), l);
    return labels;
}

class TAplicador {
  public:
    TAplicador(const TIniTexto& file, const QString& window) : F(file), FSeccion(window) {}

    QString valor(const QString& element, const QString& ending,
                  const QString& def = QString()) const {
        return F.Valor(FSeccion, FSeccion + QLatin1Char('.') + element + ending, def);
    }

    void lista(QObject* o, const char* ending, int count,
               const std::function<void(int, const QString&)>& set) const {
        for (int i = 0; i < count; ++i) {
            const QString v = valor(o->objectName(),
                                    QLatin1String(ending) + QString::number(i) + QLatin1Char(']'));
            if (!v.isEmpty())
                set(i, v);
        }
    }

    void aplicar(QObject* o, const QHash<QObject*, QLabel*>& labels) const {
        const QString name = o->objectName();
        if (QString v = valor(name, QStringLiteral(".Caption")); !v.isEmpty())
            ponerCaption(o, v);
        if (QString v = valor(name, QStringLiteral(".Hint")); !v.isEmpty())
            ponerHint(o, v);
        if (QString v = valor(name, QStringLiteral(".Text")); !v.isEmpty())
            ponerTexto(o, v);
        if (QString v = valor(name, QStringLiteral(".EditLabel.Caption"));
            !v.isEmpty() && labels.contains(o))
            labels.value(o)->setText(v);
        if (auto* d = qobject_cast<QFileDialog*>(o))
            if (QString v = valor(name, QStringLiteral(".Filter")); !v.isEmpty())
                AsignarFiltro(d, v);
        aplicarLineas(o);
        if (auto* c = qobject_cast<QComboBox*>(o))
            lista(o, ".items[", c->count(), [c](int i, const QString& v) { c->setItemText(i, v); });
        if (QAbstractItemModel* m = modeloColumnas(o))
            lista(o, ".items[", m->columnCount(),
                  [m](int i, const QString& v) { m->setHeaderData(i, Qt::Horizontal, v); });
        if (auto* l = qobject_cast<QListView*>(o); l && l->model()) {
            QAbstractItemModel* m = l->model();
            const int column = l->modelColumn();
            lista(o, ".items[", m->rowCount(),
                  [m, column](int i, const QString& v) { m->setData(m->index(i, column), v); });
        }
    }

  private:
    // A line key applies even with an empty value; only the marker default leaves a line.
    void aplicarLineas(QObject* o) const {
        std::optional<QStringList> lines = leerLineas(o);
        if (!lines)
            return;
        bool changed = false;
        const QString marker = QStringLiteral("fsdef");
        for (int i = 0; i < lines->size(); ++i) {
            const QString v =
                valor(o->objectName(),
                      QStringLiteral(".lines[") + QString::number(i) + QLatin1Char(']'), marker);
            if (v != marker && v != (*lines)[i]) {
                (*lines)[i] = v;
                changed = true;
            }
        }
        if (changed)
            ponerLineas(o, *lines);
    }

    const TIniTexto& F;
    QString FSeccion;
};

std::optional<QString> leerFiltro(QObject* o) {
    if (auto* d = qobject_cast<QFileDialog*>(o))
        return FiltroDialogo(d);
    return std::nullopt;
}
} // namespace

QList<QObject*> ElementosVentana(QObject* window) {
    QList<QObject*> elements;
    if (window)
        recorrer(window, elements);
    return elements;
}

void fillProps(const QList<QObject*>& windows, const TIniTexto& file) {
    for (QObject* window : windows) {
        if (!window)
            continue;
        const QString section = window->objectName();
        const QString title = file.Valor(section, section + QStringLiteral(".Caption"));
        if (!title.isEmpty())
            ponerCaption(window, title);
        const TAplicador aplicador(file, section);
        const QHash<QObject*, QLabel*> labels = etiquetasAdjuntas(window);
        for (QObject* element : ElementosVentana(window))
            aplicador.aplicar(element, labels);
    }
}

void AplicarIdiomaElemento(QObject* elemento, const QString& ventana) {
    const TIniTexto* file = IdiomaActual();
    if (!elemento || !file)
        return;
    const TAplicador aplicador(*file, ventana);
    const QHash<QObject*, QLabel*> labels = etiquetasAdjuntas(elemento);
    aplicador.aplicar(elemento, labels);
    for (QObject* o : ElementosVentana(elemento))
        aplicador.aplicar(o, labels);
}

void InstalarTraduccionQt(const QString& fileName) {
    static QTranslator* actual = nullptr;
    auto* app = QCoreApplication::instance();
    if (!app)
        return;
    if (actual) {
        QCoreApplication::removeTranslator(actual);
        delete actual;
        actual = nullptr;
    }
    const QString idioma = QFileInfo(fileName).completeBaseName().toLower();
    if (idioma.isEmpty() || idioma == QLatin1String("en"))
        return;
    auto traductor = std::make_unique<QTranslator>(app);
    const QLocale locale(idioma);
    if (locale.language() == QLocale::C ||
        !traductor->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return;
    actual = traductor.release();
    QCoreApplication::installTranslator(actual);
}

QString AplicarIdioma(QObject* window, const QString& fileName) {
    InstalarTraduccionQt(fileName);
    const TCargaIdioma carga = CargarIdioma(fileName);
    if (carga.enVigor)
        fillProps({window}, *IdiomaActual());
    return carga.error;
}

TVentanaTexto LeerTextosVentana(QObject* window) {
    TVentanaTexto texts;
    texts.nombre = window->objectName();
    if (window->property(PropCaption).isValid() || qobject_cast<QWidget*>(window))
        texts.caption = leerCaption(window);
    const QHash<QObject*, QLabel*> labels = etiquetasAdjuntas(window);
    for (QObject* o : ElementosVentana(window)) {
        TElementoTexto e;
        e.nombre = o->objectName();
        e.caption = leerCaption(o);
        e.hint = leerHint(o);
        e.texto = leerTextoEdicion(o);
        if (labels.contains(o))
            e.etiquetaAdjunta = labels.value(o)->text();
        e.filtro = leerFiltro(o);
        e.lineas = leerLineas(o);
        e.items = leerItemsCombo(o);
        e.columnas = leerColumnas(o);
        e.itemsLista = leerItemsLista(o);
        texts.elementos << e;
    }
    return texts;
}

bool FillCustomIni(const QList<QObject*>& windows, QString* error) {
    QList<TVentanaTexto> texts;
    for (QObject* window : windows)
        if (window)
            texts << LeerTextosVentana(window);
    return EscribirPlantilla(texts, ConfigDir() + QStringLiteral("Custom.ini"),
                             CacheDir() + QStringLiteral("ComboBox.txt"), error);
}
