#pragma once
// The weekly gallery: one landscape picture a week of the year, fetched from
// the configured server into a picture view of the table's size, with a
// caption bar (the place and the credit) that slides away after a few
// seconds. The main window's top-right corner can show the same picture.
#include <QDate>
#include <QDialog>
#include <QImage>
#include <QString>
#include <functional>
#include <memory>

class QLabel;
class QTimer;
class TDownloadService;

// The week of the year, 1..52: the days d from the most recent 1 January
// strictly before the day (1 on 2 January; 365 or 366 on 1 January itself),
// then d / 7 + 1, at most 52.
int GalleryWeekNumber(const QDate &day);

struct TGalleryEntry {
    int width = 0;
    int height = 0;
    QString caption;   // the place shown
};
// The table entry of a week (1..52): "<width>-<height> <caption>" read.
TGalleryEntry GalleryEntry(int week);
// "Images/Tessarion/BG/" + the week in two digits + ".jpg".
QString GalleryPicturePath(int week);

inline const QString kGalleryCaption = QStringLiteral("Belvane's weekly gallery");
inline const QString kGalleryLoadingText = QStringLiteral("　　　　　　　読み込み中");
inline const QString kGalleryNoConnection = QStringLiteral("インターネット接続に問題があります");
inline const QString kGalleryCredit = QStringLiteral("Art: Tessarion project");

class TBelvaneForm : public QDialog {
    Q_OBJECT
public:
    explicit TBelvaneForm(QWidget *parent = nullptr);
    ~TBelvaneForm() override;

    // Lays the window out for this week's picture, asks for a connection and
    // shows the window modally (it closes itself at once without one).
    int ShowModal();

    // ---- what the window needs from the program ----
    // The service that reaches the configured server; none: no connection.
    std::function<std::unique_ptr<TDownloadService>()> openService;
    std::function<QDate()> today = [] { return QDate::currentDate(); };
    std::function<void(const QString &)> playSoundEffect;
    std::function<void(const QString &)> information;
    // The agent back at its place after the window closed (speech with the agent only).
    std::function<void()> restoreAgent;

    // The picture of this week, fetched once in a run (for the window and the
    // top-right corner); a null image when the server does not deliver it.
    QImage WeekPicture();
    bool Loaded() const { return m_loaded; }
    int Week() const { return m_week; }

    // ---- components ----
    QLabel *WebBrowser1 = nullptr;   // the picture view
    QWidget *sPanel1 = nullptr;      // the caption bar
    QLabel *sLabelFX_Title = nullptr;
    QLabel *sWebLabel1 = nullptr;
    QTimer *Timer_load = nullptr;
    QTimer *Timer_fall = nullptr;
    QTimer *Timer_abort = nullptr;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void done(int result) override;

private:
    void FormShow();
    void FormClose();
    void Timer_loadTimer();
    void Timer_fallTimer();
    void Timer_abortTimer();
    void WebBrowser1NavigateComplete2(const QImage &picture);
    void FallStep();
    // Fetches the week's picture once; the null image when it cannot.
    QImage Fetch(int week);

    std::unique_ptr<TDownloadService> m_service;   // while the window shows
    bool m_loaded = false;
    int m_week = 0;
    int m_barTop = 0;
    QTimer *m_fallStep = nullptr;
    // The picture fetched in this run, and its week.
    int m_fetchedWeek = 0;
    QImage m_fetched;
};
