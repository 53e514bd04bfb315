#include "Ribbon.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

namespace {
constexpr int AlturaRibbon = 143;
constexpr int AlturaPagina = 92;

QString sinAmpersand(QString s) {
    return s.replace(QLatin1String("&&"), QLatin1String("\x01"))
        .remove(QLatin1Char('&'))
        .replace(QLatin1Char('\x01'), QLatin1Char('&'));
}
} // namespace

TRibbonButton::TRibbonButton(QAction* action, bool large, const QString& caption, QWidget* parent)
    : QToolButton(parent), FAction(action), FCaption(caption) {
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
    if (large) {
        setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        setIconSize(QSize(32, 32));
        setMinimumWidth(56);
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    } else {
        setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        setIconSize(QSize(16, 16));
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    }
    connect(this, &QToolButton::clicked, this, [this] {
        if (FAction)
            FAction->trigger();
    });
    connect(action, &QAction::changed, this, &TRibbonButton::sincronizar);
    sincronizar();
}

void TRibbonButton::setCaption(const QString& caption) {
    FCaption = caption;
    sincronizar();
}

void TRibbonButton::sincronizar() {
    if (!FAction)
        return;
    const QString text = FCaption.isEmpty() ? FAction->text() : FCaption;
    // A button's '&' marks its access key as in the command's caption.
    setText(text);
    setIcon(FAction->icon());
    setEnabled(FAction->isEnabled());
    setCheckable(FAction->isCheckable());
    setChecked(FAction->isChecked());
    setToolTip(sinAmpersand(text) + (FAction->statusTip().isEmpty()
                                         ? QString()
                                         : QStringLiteral("\n") + FAction->statusTip()));
    setStatusTip(FAction->statusTip());
    setVisible(FAction->isVisible());
}

TRibbonGroup::TRibbonGroup(const QString& caption, QWidget* parent) : QFrame(parent) {
    setObjectName(QString());
    setProperty("ribbonGroup", true);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(3, 2, 3, 1);
    outer->setSpacing(0);
    auto* body = new QWidget(this);
    FColumnas = new QHBoxLayout(body);
    FColumnas->setContentsMargins(0, 0, 0, 0);
    FColumnas->setSpacing(2);
    outer->addWidget(body, 1);
    FCaption = new QLabel(this);
    FCaption->setAlignment(Qt::AlignCenter);
    FCaption->setProperty("ribbonGroupCaption", true);
    outer->addWidget(FCaption);
    setCaption(caption);
}

QString TRibbonGroup::caption() const {
    return FCaption->text();
}
void TRibbonGroup::setCaption(const QString& caption) {
    // A group captioned "-" shows no caption.
    FCaption->setText(caption == QLatin1String("-") ? QString() : caption);
}

void TRibbonGroup::nuevaColumna() {
    auto* w = new QWidget(this);
    FColumna = new QGridLayout(w);
    FColumna->setContentsMargins(0, 0, 0, 0);
    FColumna->setSpacing(1);
    FColumna->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    FColumnas->addWidget(w);
    FFilas = 0;
}

TRibbonButton* TRibbonGroup::addLarge(QAction* action, const QString& caption) {
    auto* b = new TRibbonButton(action, true, caption, this);
    FColumnas->addWidget(b);
    FColumna = nullptr;
    FFilas = 3;
    return b;
}

TRibbonButton* TRibbonGroup::addSmall(QAction* action, const QString& caption) {
    if (!FColumna || FFilas >= 3)
        nuevaColumna();
    auto* b = new TRibbonButton(action, false, caption, this);
    FColumna->addWidget(b, FFilas++, 0, 1, 2);
    return b;
}

void TRibbonGroup::addSmallWidget(QWidget* widget, const QString& label) {
    if (!FColumna || FFilas >= 3)
        nuevaColumna();
    if (!label.isEmpty()) {
        auto* l = new QLabel(label, this);
        l->setBuddy(widget);
        FColumna->addWidget(l, FFilas, 0);
        FColumna->addWidget(widget, FFilas++, 1);
    } else {
        FColumna->addWidget(widget, FFilas++, 0, 1, 2);
    }
}

void TRibbonGroup::addSeparator() {
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    FColumnas->addWidget(line);
    FColumna = nullptr;
    FFilas = 3;
}

QWidget* TRibbonGroup::addArea() {
    auto* w = new QWidget(this);
    FColumnas->addWidget(w);
    FColumna = nullptr;
    FFilas = 3;
    return w;
}

TRibbonPage::TRibbonPage(const QString& caption, QWidget* parent)
    : QWidget(parent), FCaption(caption) {
    FGrupos = new QHBoxLayout(this);
    FGrupos->setContentsMargins(2, 2, 2, 2);
    FGrupos->setSpacing(3);
    FGrupos->addStretch(1);
}

TRibbonGroup* TRibbonPage::addGroup(const QString& caption, const QString& objectName) {
    auto* g = new TRibbonGroup(caption, this);
    g->setObjectName(objectName);
    FGrupos->insertWidget(FGrupos->count() - 1, g);
    return g;
}

void TRibbonPage::setCaption(const QString& caption) {
    FCaption = caption;
    emit captionChanged();
}

TRibbon::TRibbon(QWidget* parent) : QFrame(parent) {
    setFixedHeight(AlturaRibbon);
    setObjectName(QStringLiteral("RibbonMain"));
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);

    auto* top = new QHBoxLayout;
    top->setContentsMargins(4, 2, 4, 0);
    FQuick = new QToolButton(this);
    FQuick->setAutoRaise(true);
    FQuick->setIconSize(QSize(16, 16));
    FQuick->setToolButtonStyle(Qt::ToolButtonIconOnly);
    top->addWidget(FQuick);
    top->addStretch(1);
    FTitle = new QLabel(this);
    FTitle->setProperty("ribbonTitle", true);
    top->addWidget(FTitle);
    top->addStretch(1);
    v->addLayout(top);

    auto* tabsRow = new QHBoxLayout;
    tabsRow->setContentsMargins(4, 0, 4, 0);
    tabsRow->setSpacing(6);
    FMenu = new QMenu(this);
    FAppButton = new QToolButton(this);
    FAppButton->setObjectName(QStringLiteral("RibbonAppButton"));
    FAppButton->setText(QStringLiteral("&Archivo"));
    FAppButton->setPopupMode(QToolButton::InstantPopup);
    FAppButton->setMenu(FMenu);
    FAppButton->setProperty("ribbonAppButton", true);
    tabsRow->addWidget(FAppButton);
    FTabs = new QTabBar(this);
    FTabs->setDrawBase(false);
    FTabs->setExpanding(false);
    FTabs->setFocusPolicy(Qt::NoFocus);
    tabsRow->addWidget(FTabs);
    tabsRow->addStretch(1);
    FHelp = new QToolButton(this);
    FHelp->setAutoRaise(true);
    FHelp->setProperty("ribbonHelp", true);
    FHelp->setText(QStringLiteral("?"));
    FHelp->setToolTip(QStringLiteral("Ayuda"));
    tabsRow->addWidget(FHelp);
    v->addLayout(tabsRow);

    FStack = new QStackedWidget(this);
    FStack->setFixedHeight(AlturaPagina);
    FStack->setProperty("ribbonBody", true);
    v->addWidget(FStack, 1);

    connect(FTabs, &QTabBar::currentChanged, this, [this](int index) {
        if (index >= 0 && index < FStack->count())
            FStack->setCurrentIndex(index);
        emit currentChanged(index);
    });
    connect(FHelp, &QToolButton::clicked, this, &TRibbon::helpClicked);
    setEsquema(Luna);
}

TRibbonPage* TRibbon::addPage(const QString& caption, const QString& objectName) {
    auto* p = new TRibbonPage(caption, FStack);
    p->setObjectName(objectName);
    FStack->addWidget(p);
    FPages.append(p);
    FTabs->addTab(caption);
    connect(p, &TRibbonPage::captionChanged, this, [this, p] { actualizarPestana(p); });
    return p;
}

void TRibbon::actualizarPestana(TRibbonPage* page) {
    const int i = FPages.indexOf(page);
    if (i >= 0)
        FTabs->setTabText(i, page->caption());
}

int TRibbon::currentIndex() const {
    return FTabs->currentIndex();
}

void TRibbon::setCurrentIndex(int index) {
    if (index >= 0 && index < FPages.size())
        FTabs->setCurrentIndex(index);
}

QString TRibbon::tabCaption(int index) const {
    return FTabs->tabText(index);
}

void TRibbon::setPageVisible(TRibbonPage* page, bool visible) {
    const int i = FPages.indexOf(page);
    if (i >= 0)
        FTabs->setTabVisible(i, visible);
}

bool TRibbon::isPageVisible(TRibbonPage* page) const {
    const int i = FPages.indexOf(page);
    return i >= 0 && FTabs->isTabVisible(i);
}

void TRibbon::setTitle(const QString& title) {
    FTitle->setText(title);
}
QString TRibbon::title() const {
    return FTitle->text();
}

void TRibbon::setQuickAccess(QAction* action) {
    FQuick->setDefaultAction(action);
}

void TRibbon::setEsquema(Esquema scheme) {
    FEsquema = scheme;
    struct Colores {
        const char *top, *bottom, *body, *text, *group, *caption, *app;
    };
    static const Colores esquemas[] = {
        {"#535353", "#3b3b3b", "#d7d7d7", "#ffffff", "#c9c9c9", "#3c3c3c", "#2d2d2d"}, // Obsidian
        {"#dfe9f5", "#c2d8f1", "#e3edf9", "#15428b", "#d4e3f5", "#3e6aaa", "#2b5faa"}, // Luna
        {"#eef0f3", "#d0d4dd", "#f1f3f6", "#2c2c2c", "#e2e5ea", "#4c535c", "#6d7480"}, // Silver
    };
    const Colores& c = esquemas[scheme];
    setStyleSheet(
        QStringLiteral(
            "TRibbon { background: qlineargradient(x1:0,y1:0,x2:0,y2:1, stop:0 %1, stop:1 %2); }"
            "QLabel[ribbonTitle=\"true\"] { color: %4; font-weight: bold; }"
            "QToolButton[ribbonHelp=\"true\"] { color: %4; font-weight: bold; }"
            "QTabBar::tab { color: %4; background: transparent; padding: 3px 12px; border: 1px "
            "solid transparent; }"
            "QTabBar::tab:selected { background: %3; color: #15428b; border: 1px solid #8db2e3; "
            "border-bottom: none; border-top-left-radius: 3px; border-top-right-radius: 3px; }"
            "QStackedWidget[ribbonBody=\"true\"] { background: %3; border-top: 1px solid #8db2e3; "
            "border-bottom: 1px solid #8db2e3; }"
            "QFrame[ribbonGroup=\"true\"] { background: qlineargradient(x1:0,y1:0,x2:0,y2:1, "
            "stop:0 #ffffff, stop:1 %5); border: 1px solid #a9bfd6; border-radius: 3px; }"
            "QLabel[ribbonGroupCaption=\"true\"] { color: %6; background: transparent; border: "
            "none; }"
            "QToolButton[ribbonAppButton=\"true\"] { color: white; background: %7; border-radius: "
            "3px; padding: 2px 10px; font-weight: bold; }"
            "QToolButton[ribbonAppButton=\"true\"]::menu-indicator { image: none; }"
            "TRibbonButton { border: 1px solid transparent; border-radius: 2px; color: #15283f; "
            "background: transparent; }"
            "TRibbonButton:hover { background: #ffe8a6; border: 1px solid #ffb700; }"
            "TRibbonButton:checked { background: #ffd26a; border: 1px solid #c28a30; }"
            "TRibbonButton:disabled { color: #8d8d8d; }")
            .arg(QLatin1String(c.top), QLatin1String(c.bottom), QLatin1String(c.body),
                 QLatin1String(c.text), QLatin1String(c.group), QLatin1String(c.caption),
                 QLatin1String(c.app)));
}
