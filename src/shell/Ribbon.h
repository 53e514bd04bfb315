#pragma once

#include <QFrame>
#include <QPointer>
#include <QToolButton>

class QAction;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QMenu;
class QStackedWidget;
class QTabBar;

// A command button of the ribbon: follows its command's state, but may show a caption
// of its own (the same command appears with different captions on different tabs).
class TRibbonButton : public QToolButton {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)
  public:
    TRibbonButton(QAction* action, bool large, const QString& caption, QWidget* parent);
    QString caption() const { return FCaption; }
    void setCaption(const QString& caption);

  private:
    void sincronizar();
    QPointer<QAction> FAction;
    QString FCaption; // empty: the command's own text
};

// A captioned group of commands: large buttons take the full height, small ones stack
// three to a column.
class TRibbonGroup : public QFrame {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)
  public:
    TRibbonGroup(const QString& caption, QWidget* parent);
    QString caption() const;
    void setCaption(const QString& caption);

    TRibbonButton* addLarge(QAction* action, const QString& caption = {});
    TRibbonButton* addSmall(QAction* action, const QString& caption = {});
    // A labelled control in a small row ("&Ancho:" and a spin box).
    void addSmallWidget(QWidget* widget, const QString& label = {});
    void addSeparator();
    // A free-form area for controls that are not commands (theme pictures).
    QWidget* addArea();

  private:
    void nuevaColumna();
    QHBoxLayout* FColumnas;
    QGridLayout* FColumna = nullptr;
    int FFilas = 3;
    QLabel* FCaption;
};

// One tab's page of groups.
class TRibbonPage : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)
  public:
    TRibbonPage(const QString& caption, QWidget* parent);
    TRibbonGroup* addGroup(const QString& caption, const QString& objectName);
    QString caption() const { return FCaption; }
    void setCaption(const QString& caption);

  signals:
    void captionChanged();

  private:
    QHBoxLayout* FGrupos;
    QString FCaption;
};

// A ribbon built from Qt widgets: application button with its menu, quick-access
// toolbar, title, tabs with their pages, help button, and three colour schemes.
class TRibbon : public QFrame {
    Q_OBJECT
  public:
    enum Esquema { Obsidian = 0, Luna = 1, Silver = 2 };

    explicit TRibbon(QWidget* parent);

    TRibbonPage* addPage(const QString& caption, const QString& objectName);
    int count() const { return FPages.size(); }
    TRibbonPage* page(int index) const { return FPages.value(index); }
    int indexOf(TRibbonPage* page) const { return FPages.indexOf(page); }
    int currentIndex() const;
    void setCurrentIndex(int index);
    void setCurrentPage(TRibbonPage* page) { setCurrentIndex(indexOf(page)); }
    TRibbonPage* currentPage() const { return page(currentIndex()); }
    QString tabCaption(int index) const;
    void setPageVisible(TRibbonPage* page, bool visible);
    bool isPageVisible(TRibbonPage* page) const;

    void setTitle(const QString& title);
    QString title() const;
    void setQuickAccess(QAction* action);
    QMenu* applicationMenu() const { return FMenu; }
    QToolButton* applicationButton() const { return FAppButton; }
    QToolButton* helpButton() const { return FHelp; }

    void setEsquema(Esquema scheme);
    Esquema esquema() const { return FEsquema; }

  signals:
    void currentChanged(int index);
    void helpClicked();

  private:
    void actualizarPestana(TRibbonPage* page);
    QList<TRibbonPage*> FPages;
    QTabBar* FTabs;
    QStackedWidget* FStack;
    QLabel* FTitle;
    QToolButton* FAppButton;
    QToolButton* FQuick;
    QToolButton* FHelp;
    QMenu* FMenu;
    Esquema FEsquema = Luna;
};
