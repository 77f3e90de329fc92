#include "help/BelvaneUnit.h"

#include "base/SlotGuard.h"
#include "engine/DataUpdates.h"
#include "help/GalleryTable.h"

#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QTimer>

namespace {
const QString kPicturePath = QStringLiteral("Images/Tessarion/BG/%1.jpg");
const QString kNotDelivered = QStringLiteral("画像を読み込めませんでした。\n%1");
constexpr int kLoadInterval = 99;
constexpr int kFallDelay = 4000;
constexpr int kAbortInterval = 99;
constexpr int kFallStepInterval = 30;
constexpr int kFallenTop = 611;          // the bar falls until its top is below this
constexpr int kBarInset = 32;            // the bar's top above the bottom, its width short of the picture's
constexpr int kCreditFromRight = 140;
constexpr int kCreditPixelSize = 11;
constexpr int kDaysPerWeek = 7;
const QColor kBarColour(0x20, 0x20, 0x20, 0xA8);
const QColor kBarText(0xF2, 0xF2, 0xF2);
}   // namespace

int GalleryWeekNumber(const QDate &day)
{
    const QDate yearStart(day.year(), 1, 1);
    const QDate lastNewYear = day == yearStart ? yearStart.addYears(-1) : yearStart;
    const qint64 days = lastNewYear.daysTo(day);
    return static_cast<int>(qMin<qint64>(days / kDaysPerWeek + 1, kGalleryWeeks));
}

TGalleryEntry GalleryEntry(int week)
{
    const QString text = QString::fromLatin1(kGalleryTable[static_cast<size_t>(qBound(1, week, kGalleryWeeks) - 1)]);
    const int dash = text.indexOf(u'-');
    const int space = text.indexOf(u' ');
    return {text.left(dash).toInt(), text.mid(dash + 1, space - dash - 1).toInt(), text.mid(space + 1)};
}

QString GalleryPicturePath(int week)
{
    return kPicturePath.arg(week, 2, 10, QLatin1Char('0'));
}

TBelvaneForm::TBelvaneForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("BelvaneForm"));
    setWindowTitle(kGalleryCaption);
    setModal(true);

    WebBrowser1 = new QLabel(this);
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    WebBrowser1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    WebBrowser1->setWordWrap(true);

    sPanel1 = new QWidget(this);
    sPanel1->setObjectName(QStringLiteral("sPanel1"));
    sPanel1->setAutoFillBackground(true);
    QPalette bar = sPanel1->palette();
    bar.setColor(QPalette::Window, kBarColour);
    bar.setColor(QPalette::WindowText, kBarText);
    sPanel1->setPalette(bar);
    sLabelFX_Title = new QLabel(sPanel1);
    sLabelFX_Title->setObjectName(QStringLiteral("sLabelFX_Title"));
    QFont titleFont = sLabelFX_Title->font();
    titleFont.setPixelSize(16);
    titleFont.setBold(true);
    sLabelFX_Title->setFont(titleFont);
    sWebLabel1 = new QLabel(sPanel1);
    sWebLabel1->setObjectName(QStringLiteral("sWebLabel1"));
    QFont creditFont = sWebLabel1->font();
    creditFont.setPixelSize(kCreditPixelSize);
    sWebLabel1->setFont(creditFont);

    const auto timer = [this](const QString &name, int interval, void (TBelvaneForm::*slot)()) {
        auto *t = new QTimer(this);
        t->setObjectName(name);
        t->setInterval(interval);
        t->setSingleShot(true);
        QObject::connect(t, &QTimer::timeout, this, Guarded(std::bind_front(slot, this)));
        return t;
    };
    Timer_load = timer(QStringLiteral("Timer_load"), kLoadInterval, &TBelvaneForm::Timer_loadTimer);
    Timer_fall = timer(QStringLiteral("Timer_fall"), kFallDelay, &TBelvaneForm::Timer_fallTimer);
    Timer_abort = timer(QStringLiteral("Timer_abort"), kAbortInterval, &TBelvaneForm::Timer_abortTimer);
    m_fallStep = new QTimer(this);
    m_fallStep->setInterval(kFallStepInterval);
    QObject::connect(m_fallStep, &QTimer::timeout, this, Guarded([this] { FallStep(); }));
}

TBelvaneForm::~TBelvaneForm() = default;

int TBelvaneForm::ShowModal()
{
    FormShow();
    return exec();
}

void TBelvaneForm::FormShow()
{
    // 1. Shown before in this run: the picture stays, the bar falls again.
    sPanel1->move(sPanel1->x(), m_barTop);
    if (m_loaded) {
        Timer_fall->start();
        return;
    }
    // 2.
    sLabelFX_Title->clear();
    sWebLabel1->setText(kGalleryLoadingText);
    // 3.-4. The window takes the picture's size.
    m_week = GalleryWeekNumber(today());
    const TGalleryEntry entry = GalleryEntry(m_week);
    // The view has no frame of its own: it lies exactly over the window, so
    // the picture fills it to every edge.
    WebBrowser1->setGeometry(0, 0, entry.width, entry.height);
    WebBrowser1->clear();
    setFixedSize(entry.width, entry.height);
    if (QWidget *owner = parentWidget())
        move(owner->geometry().center() - rect().center());
    m_barTop = entry.height - kBarInset;
    sPanel1->setGeometry(0, m_barTop, entry.width - kBarInset, kBarInset - 8);
    sLabelFX_Title->setGeometry(10, 0, sPanel1->width() - kCreditFromRight - 10, sPanel1->height());
    sWebLabel1->setGeometry(sPanel1->width() - kCreditFromRight, 0, kCreditFromRight, sPanel1->height());
    sPanel1->raise();
    // 5. Without a connection the window says so and closes itself.
    m_service = openService ? openService() : nullptr;
    if (m_service && m_service->IsInternetConnected()) {
        Timer_load->start();
    } else {
        m_service.reset();
        if (information)
            information(kGalleryNoConnection);
        Timer_abort->start();
    }
}

void TBelvaneForm::Timer_loadTimer()
{
    Timer_load->stop();
    const QImage picture = Fetch(m_week);
    if (picture.isNull()) {
        // What the server did not deliver stays an error page in the view.
        WebBrowser1->setText(kNotDelivered.arg(GalleryPicturePath(m_week)));
        sWebLabel1->clear();
        return;
    }
    WebBrowser1NavigateComplete2(picture);
}

void TBelvaneForm::WebBrowser1NavigateComplete2(const QImage &picture)
{
    const TGalleryEntry entry = GalleryEntry(m_week);
    WebBrowser1->setPixmap(QPixmap::fromImage(
        picture.scaled(entry.width, entry.height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
    sWebLabel1->setText(kGalleryCredit);
    sLabelFX_Title->setText(entry.caption);
    m_loaded = true;
    Timer_fall->start();
}

void TBelvaneForm::Timer_fallTimer()
{
    Timer_fall->stop();
    m_fallStep->start();
}

void TBelvaneForm::FallStep()
{
    if (sPanel1->y() > kFallenTop) {
        m_fallStep->stop();
        return;
    }
    sPanel1->move(sPanel1->x(), sPanel1->y() + 1);
}

void TBelvaneForm::Timer_abortTimer()
{
    Timer_abort->stop();
    reject();
}

QImage TBelvaneForm::WeekPicture()
{
    return Fetch(GalleryWeekNumber(today()));
}

QImage TBelvaneForm::Fetch(int week)
{
    if (m_fetchedWeek == week)
        return m_fetched;
    std::unique_ptr<TDownloadService> own;
    TDownloadService *service = m_service.get();
    if (!service) {
        own = openService ? openService() : nullptr;
        if (!own || !own->IsInternetConnected())
            return {};
        service = own.get();
    }
    const TDownloadResult result = service->Fetch(GalleryPicturePath(week), [](qint64) {});
    QImage picture;
    if (result.outcome == TDownloadOutcome::Completed)
        picture.loadFromData(result.body);
    // A picture once fetched serves the rest of the run; a failure is tried again.
    if (!picture.isNull()) {
        m_fetchedWeek = week;
        m_fetched = picture;
    }
    return picture;
}

void TBelvaneForm::keyPressEvent(QKeyEvent *event)
{
    Guard([&] {
        if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            event->accept();
            reject();
            return;
        }
        QDialog::keyPressEvent(event);
    });
}

void TBelvaneForm::done(int result)
{
    Guard([&] { FormClose(); });
    QDialog::done(result);
}

void TBelvaneForm::FormClose()
{
    Timer_load->stop();
    Timer_fall->stop();
    Timer_abort->stop();
    m_fallStep->stop();
    m_service.reset();
    hide();
    if (playSoundEffect)
        playSoundEffect(QStringLiteral("BUTTON"));
    if (restoreAgent)
        restoreAgent();
}
