#pragma once
// The etymology window: the chart of a word over a background picture, a
// word search, hover labels on words, roots, prefixes and suffixes that open
// a menu of related words, five screen types, and the history of the words
// shown since the last question, to go back through. The window exists from
// the start and is only shown and hidden; while hidden it still draws the
// chart the main window's etymology page shows.
#include "etymology/EtymologyChart.h"
#include "etymology/db/EtymologyDatabase.h"

#include <QDialog>
#include <QImage>
#include <QPixmap>
#include <QString>
#include <QStringList>
#include <array>
#include <memory>
#include <vector>

class QLabel;
class QLineEdit;
class QMenu;
class QAction;
class QTimer;
class QToolButton;
class QTreeWidget;
class TCC;
class TChartCanvas;

class TEtymologyForm : public QDialog {
public:
    explicit TEtymologyForm(TCC &cc, QWidget *parent = nullptr);
    ~TEtymologyForm() override;

    // ---- offered to the main window ----
    // The main window's space key and the chart's click: the window shows the
    // word at a position of the word table and takes the focus.
    void ShowWord(int position);
    // The chart of a word of the word table as the main window's etymology
    // page shows it (on white, in the colours of the screen type); an empty
    // white canvas for a word without a record.
    QPixmap PageChart(int position);
    // Every new question starts the history of shown words afresh.
    void ClearHistory();

    // ---- the chart ----
    // Draws the chart of a record (wordTable false) or of the word at a
    // position of the word table (wordTable true), unless the chart is up to
    // date. Loads the database first when it is not loaded yet.
    void ShowChart(int index, bool wordTable);
    void ClearChartUpToDate() { m_chartUpToDate = false; }
    bool ChartUpToDate() const { return m_chartUpToDate; }
    const TEtymologyChart &Chart() const { return m_chart; }
    // The canvas of the last chart (transparent where nothing is drawn).
    const QImage &Canvas() const { return m_canvas; }
    TEtymologyDatabase &Database();

    // ---- screen type and history ----
    int ScreenType() const { return m_screenType; }
    void SetScreenType(int type);
    void ApplyScreenType();
    const TChartColours &Colours() const { return m_colours; }
    // Record indices of the words shown before the current one, the last at the back.
    const std::vector<int> &History() const { return m_history; }
    // Shows the previous word of the history; false when there is none.
    bool GoBack();

    // ---- related words ----
    // Fills the list of related words for a hover label and opens its menu
    // (after a short pause); nothing when a list is already open.
    void GetRelWords(TChartLabelKind kind, int record, int third, int second, int first);
    const QStringList &RelatedWords() const { return m_related; }
    // Shows the chart of a related word chosen from the menu ("bank(2)" is the headword bank2).
    void MenuItemClick(const QString &caption);
    // The Enter key's search: the typed headword, or its first homonym.
    void SearchTypedWord();

    // Controls.
    QLabel *Image_BG = nullptr;
    QLabel *Image_white = nullptr;
    TChartCanvas *Image = nullptr;
    QLabel *Image_Athena_Rich = nullptr;
    QLabel *Image_Athena_Simple = nullptr;
    QLabel *Image_Athena_SimpleWhite = nullptr;
    QLabel *Image_forAthenaClick = nullptr;
    QLabel *sLabel_from = nullptr;
    QLabel *sLabelFX_from = nullptr;
    std::array<QLabel *, kChartLabelCount> Label_rel{};
    QLabel *Label_remark = nullptr;
    QLabel *Label_remark2 = nullptr;
    QLabel *Label_remark3 = nullptr;
    QLineEdit *sEdit_search = nullptr;
    QToolButton *sButton_back = nullptr;
    QTreeWidget *TreeView_rel = nullptr;
    QMenu *PopupActionBar1 = nullptr;
    QTimer *Timer1 = nullptr;

    // The pause before a related-words menu opens (shortened by tests).
    int menuDelayMs = 77;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void FormCreate();
    void FormActivate();
    void Timer1Timer();
    void ImageMouseMove();
    void Image_forAthenaClickClick();
    void Label_relMouseEnter(int n);
    void Label_relMouseLeave(int n);
    void OpenRelatedMenu();
    void MenuHidden();
    // Handles the keys the window takes from every control; true when consumed.
    bool ChildKey(QKeyEvent *event);
    void ShowRecord(int index, bool remember);
    void PlaceLabels();
    void PlaceWindow();
    void RememberPosition();
    void EnsureLoaded();
    int RecordOfWord(int position);
    void Report(const QStringList &messages);

    TCC &m_cc;
    std::unique_ptr<TEtymologyDatabase> m_db;
    TEtymologyChart m_chart;
    bool m_loadFailed = false;
    bool m_chartUpToDate = false;
    QImage m_canvas;
    QPixmap m_background;
    QPixmap m_backgroundForWhiteText;
    int m_screenType = kDefaultScreenType;
    TChartColours m_colours;
    QString m_originName;
    std::vector<int> m_history;
    QStringList m_related;
    int m_menuLabel = -1;        // the label whose menu is open or about to open
    int m_quietLabel = -1;       // the label under the mouse when its menu closed
    bool m_firstActivation = true;
    bool m_placed = false;
    QTimer *m_menuTimer = nullptr;
};
