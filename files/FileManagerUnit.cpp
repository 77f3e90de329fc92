#include "files/FileManagerUnit.h"

#include "widgets/DialogPlacement.h"
#include "widgets/ScreenFit.h"
#include "base/SlotGuard.h"
#include "base/TError.h"
#include "base/TextFiles.h"
#include "data/UserWorkbook.h"
#include "engine/CommonUnit.h"
#include "progress/StatusUnit.h"
#include "workspace/FileManagerRules.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStyle>
#include <QUrl>

namespace {
// Layout: rows of the built-in slots 1..16 on the left, 17..31 and then the
// user files on the right; notes and buttons below the left column.
constexpr int kClientWidth = 820;
constexpr int kClientHeight = 800;
constexpr int kColumnLeft[2] = {16, 420};
constexpr int kRowsTop = 44;
constexpr int kRowHeight = 22;
constexpr int kLeftColumnRows = 16;
constexpr int kNameWidth = 268;
constexpr int kUserNameWidth = 176;
constexpr int kSmallButtonWidth = 44;
constexpr int kHiddenTop = 999;

const QString kCaption = QStringLiteral(" 学習ファイルの管理");
const QString kNoteCheck = QStringLiteral("▼ 学習するファイルをチェックしてください");
const QString kNoteOrder = QStringLiteral("※ 各ファイルの右側の数字はファイルの呼び出し順です");
const QString kNoteGrey = QStringLiteral("※ 薄く表示されている項目は未発表のファイルです");
// Workbooks (.xls) open in the spreadsheet program the desktop has for them.
const QString kSpreadsheetPrograms = QStringLiteral("LibreOffice Calc、Gnumeric など");
const QString kNoteSpreadsheet = QStringLiteral("※ ユーザーファイルの編集には、.xls を開ける表計算ソフト（%1）が必要です").arg(kSpreadsheetPrograms);
const QString kDownloading = QStringLiteral("▼ 最新の学習ファイルをダウンロードしています。しばらくお待ちください。");
const QString kStartCaption = QStringLiteral(" 起動時に毎回この画面を表示する");
const QString kMarker = QStringLiteral("NW");
const QString kMarkerHint = QStringLiteral("今日は出題がありません");
const QString kDownloadFailed = QStringLiteral("ダウンロードできませんでした　");
const QString kNotStudiedYet = QStringLiteral("まだ学習していないファイルです");
const QString kCreateNeedsSpreadsheet =
    QStringLiteral("ユーザーファイルの作成には、.xls を開ける表計算ソフト（%1）のインストールが必要です").arg(kSpreadsheetPrograms);
const QString kEditNeedsSpreadsheet =
    QStringLiteral("ユーザーファイルの編集には、.xls を開ける表計算ソフト（%1）が必要です").arg(kSpreadsheetPrograms);
const QString kCannotOpen = QStringLiteral("ワークブックを開けませんでした\n%1");
const QString kChangedNextStart = QStringLiteral("設定の変更は次回起動時に反映されます");
const QString kTitleCaption = QStringLiteral("Title");

// A name button shows the whole title, or as much as fits followed by "…"
// (never half a character at the button's edge); the whole title is its hint.
void ShowTitle(QPushButton *button, const QString &text, const QString &hint)
{
    const int room = button->width() - 2 * button->style()->pixelMetric(QStyle::PM_ButtonMargin) - 4;
    button->setText(button->fontMetrics().elidedText(text, Qt::ElideRight, room));
    button->setToolTip(hint);
}

bool IsUserSlot(int slot)
{
    return slot > kLastBuiltInSlot;
}
int UserNumber(int slot)
{
    return slot - kLastBuiltInSlot;
}
}

TFileManagerForm::TFileManagerForm(TCC &cc, QWidget *parent) : QDialog(parent), m_cc(cc)
{
    setObjectName(QStringLiteral("FileManagerForm"));
    setWindowTitle(kCaption);
    setFixedSize(kClientWidth, kClientHeight);

    auto *check = new QLabel(kNoteCheck, this);
    check->move(kColumnLeft[0], 16);
    check->adjustSize();
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        const int column = slot <= kLeftColumnRows ? 0 : 1;
        const int row = column == 0 ? slot - 1 : slot - 1 - kLeftColumnRows;
        BuildRow(slot, kColumnLeft[column], kRowsTop + row * kRowHeight);
    }

    int y = kRowsTop + kLeftColumnRows * kRowHeight + 24;
    // The notes stay inside the left column: a long one wraps instead of
    // running under the rows of the right column.
    const int noteWidth = kColumnLeft[1] - kColumnLeft[0] - 24;
    for (const QString &text : {kNoteOrder, kNoteGrey, kNoteSpreadsheet}) {
        auto *note = new QLabel(text, this);
        note->setWordWrap(true);
        const int height = note->heightForWidth(noteWidth);
        note->setGeometry(kColumnLeft[0], y, noteWidth, height);
        y += height + 6;
    }
    sLabel1 = new QLabel(kDownloading, this);
    sLabel1->setObjectName(QStringLiteral("sLabel1"));
    sLabel1->setWordWrap(true);
    sLabel1->setStyleSheet(QStringLiteral("color: #c00000;"));
    sLabel1->setGeometry(kColumnLeft[0], y + 12, kColumnLeft[1] - kColumnLeft[0] - 24, 44);
    sLabel1->hide();

    sCheckBox_start = new QCheckBox(kStartCaption, this);
    sCheckBox_start->setObjectName(QStringLiteral("sCheckBox_start"));
    sCheckBox_start->move(kColumnLeft[0], kClientHeight - 100);
    sCheckBox_start->adjustSize();
    sButton_OK = new QPushButton(QStringLiteral("ＯＫ"), this);
    sButton_OK->setObjectName(QStringLiteral("sButton_OK"));
    sButton_OK->setGeometry(kColumnLeft[0], kClientHeight - 64, 170, 40);
    sButton_fin = new QPushButton(QStringLiteral("終了"), this);
    sButton_fin->setObjectName(QStringLiteral("sButton_fin"));
    sButton_fin->setGeometry(kColumnLeft[0] + 186, kClientHeight - 64, 120, 40);
    sButton_fin->hide();
    sButton_focus = new QPushButton(QStringLiteral("フォーカス用"), this);
    sButton_focus->setObjectName(QStringLiteral("sButton_focus"));
    sButton_focus->setAutoDefault(false);
    sButton_focus->move(0, kHiddenTop);
    // Enter, wherever the focus is (a file's box, the start box, 終了 itself),
    // means OK (学習開始 at program start): ending the program takes a click
    // or Space on 終了, never a stray Enter.
    sButton_OK->setDefault(true);
    sButton_fin->setAutoDefault(false);

    connect(sButton_OK, &QPushButton::clicked, this, Guarded([this] { sButton_OKClick(); }));
    connect(sButton_focus, &QPushButton::clicked, this, Guarded([this] { sButton_OKClick(); }));
    connect(sButton_fin, &QPushButton::clicked, this, Guarded([this] { sButton_finClick(); }));
    connect(sCheckBox_start, &QCheckBox::clicked, this, Guarded([this] { sCheckBox_startClick(); }));
}

void TFileManagerForm::BuildRow(int slot, int left, int top)
{
    const bool user = IsUserSlot(slot);
    auto *box = new QCheckBox(this);
    box->setObjectName(QStringLiteral("sCheckBox%1").arg(slot));
    box->setGeometry(left, top + 2, 20, 18);
    int x = left + 22;
    auto *name = new QPushButton(this);
    name->setObjectName(QStringLiteral("sSpeedButton%1").arg(slot));
    name->setFlat(true);
    name->setStyleSheet(QStringLiteral("text-align: left; padding-left: 4px;"));
    name->setFocusPolicy(Qt::NoFocus);
    name->setGeometry(x, top, user ? kUserNameWidth : kNameWidth, kRowHeight - 2);
    x += (user ? kUserNameWidth : kNameWidth) + 2;
    if (user) {
        auto *rename = new QPushButton(QStringLiteral("名前"), this);
        rename->setObjectName(QStringLiteral("sSpeedButton%1_name").arg(slot));
        rename->setFocusPolicy(Qt::NoFocus);
        rename->setGeometry(x, top, kSmallButtonWidth, kRowHeight - 2);
        x += kSmallButtonWidth + 2;
        auto *edit = new QPushButton(QStringLiteral("編集"), this);
        edit->setObjectName(QStringLiteral("sSpeedButton%1_edit").arg(slot));
        edit->setFocusPolicy(Qt::NoFocus);
        edit->setGeometry(x, top, kSmallButtonWidth, kRowHeight - 2);
        x += kSmallButtonWidth + 2;
        sSpeedButton_name[static_cast<size_t>(slot)] = rename;
        sSpeedButton_edit[static_cast<size_t>(slot)] = edit;
        connect(rename, &QPushButton::clicked, this, Guarded([this, slot] { sSpeedButtonNameClick(slot); }));
        connect(edit, &QPushButton::clicked, this, Guarded([this, slot] { sSpeedButtonEditClick(UserNumber(slot)); }));
    }
    auto *marker = new QLabel(kMarker, this);
    marker->setObjectName(QStringLiteral("sLabel_nw%1").arg(slot));
    marker->setStyleSheet(QStringLiteral("color: #c00000; font-weight: bold;"));
    marker->setGeometry(x + 2, top, 26, kRowHeight - 2);
    marker->hide();
    auto *spin = new QSpinBox(this);
    spin->setObjectName(QStringLiteral("sSpinEdit%1").arg(slot));
    spin->setRange(kLowestOrder, kHighestOrder);
    // The number changes only by its arrows: it never takes the keyboard.
    spin->setFocusPolicy(Qt::NoFocus);
    spin->setGeometry(x + 30, top, 56, kRowHeight - 2);

    sCheckBox[static_cast<size_t>(slot)] = box;
    sSpeedButton[static_cast<size_t>(slot)] = name;
    sLabel_nw[static_cast<size_t>(slot)] = marker;
    sSpinEdit[static_cast<size_t>(slot)] = spin;
    connect(box, &QCheckBox::clicked, this, Guarded([this, slot] { sCheckBoxClick(slot); }));
    connect(name, &QPushButton::clicked, this, Guarded([this, slot] { sSpeedButtonClick(slot); }));
    connect(spin, &QSpinBox::valueChanged, this, Guarded([this, slot](int value) { sSpinEditChange(slot, value); }));
}

void TFileManagerForm::SetStartMode(bool start)
{
    m_startMode = start;
}

// A failure the learner can live with (a catalog that cannot be written, a
// damaged file to show) is told; the window stays and nothing is lost.
template <typename F> void TFileManagerForm::Recoverable(F &&action)
{
    try {
        action();
    } catch (const TFatalError &e) {
        m_cc.notifier->Error(e.Message());
    }
}

void TFileManagerForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    Guard([this] { FormShow(); });
}

bool TFileManagerForm::RowReleased(int slot) const
{
    return IsUserSlot(slot) || m_cc.catalog.rows[static_cast<size_t>(slot)].Version != 0;
}

// The learning data of a slot's file: for a built-in file its data file, for
// a user file its workbook. Paths come from the fixed slot table, never from
// a code read from a file.
bool TFileManagerForm::FileOnDisk(int slot) const
{
    if (IsUserSlot(slot))
        return QFileInfo::exists(UserWorkbookPath(m_cc.userFolder, UserNumber(slot)));
    const QString code = FileCodeOfSlot(slot);
    return FileSlotOfCode(code) == slot && QFileInfo::exists(m_cc.BuiltInLearningFilePath(code));
}

void TFileManagerForm::FormShow()
{
    m_loading = true;
    m_changed = false;
    sButton_focus->move(sButton_focus->x(), kHiddenTop);
    sButton_OK->setText(m_startMode ? QStringLiteral("学習開始") : QStringLiteral("ＯＫ"));
    sButton_fin->setVisible(m_startMode);
    sLabel1->hide();
    CentreOverOwner(this);
    FitOnScreen(this);
    {
        const QSignalBlocker blocker(sCheckBox_start);
        sCheckBox_start->setChecked(m_cc.catalog.fileManager);
    }
    // The user files' titles as Title.dat has them now.
    if (const auto titles = ReadStateLines(m_cc.userFolder + kUserTitlesFile)) {
        for (int n = 1; n <= kUserFileCount && n <= titles->size(); ++n)
            m_cc.catalog.rows[static_cast<size_t>(kLastBuiltInSlot + n)].Title = titles->at(n - 1);
    }
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        const TDBF &row = m_cc.catalog.rows[static_cast<size_t>(slot)];
        const bool released = RowReleased(slot);
        const auto i = static_cast<size_t>(slot);
        for (QWidget *w : {static_cast<QWidget *>(sCheckBox[i]), static_cast<QWidget *>(sSpeedButton[i]),
                           static_cast<QWidget *>(sSpinEdit[i])})
            w->setEnabled(released);
        QString name = row.Title;
        if (name.isEmpty())
            name = FileCodeOfSlot(slot) == QStringLiteral("NIL") ? QStringLiteral("－") : FileCodeOfSlot(slot);
        ShowTitle(sSpeedButton[i], name, row.Title);
        const QSignalBlocker blocker(sCheckBox[i]);
        sCheckBox[i]->setChecked(row.OnOff);
    }
    ShowOrders();
    RefreshMarkers();
    sButton_OK->setFocus();
    m_loading = false;
}

void TFileManagerForm::ShowOrders()
{
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        QSpinBox *spin = sSpinEdit[static_cast<size_t>(slot)];
        const QSignalBlocker blocker(spin);
        spin->setValue(OrderOf(m_cc.catalog.rows[static_cast<size_t>(slot)]));
    }
}

// "NW": the file is switched on but its popup date has not come yet, so it
// has nothing to ask today.
void TFileManagerForm::RefreshMarkers()
{
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        const TDBF &row = m_cc.catalog.rows[static_cast<size_t>(slot)];
        bool waiting = false;
        if (sCheckBox[static_cast<size_t>(slot)]->isChecked() && !row.PopUpDate.isEmpty()) {
            try {
                waiting = !m_cc.IsDateReached(row.PopUpDate);
            } catch (const TFatalError &) {
                waiting = false;   // a date that cannot be read holds nothing back
            }
        }
        sLabel_nw[static_cast<size_t>(slot)]->setToolTip(kMarkerHint);
        sLabel_nw[static_cast<size_t>(slot)]->setVisible(waiting);
    }
}

void TFileManagerForm::SaveCatalog()
{
    m_cc.SaveCatalog();
}

void TFileManagerForm::sCheckBoxClick(int slot)
{
    if (m_loading)
        return;
    QCheckBox *box = sCheckBox[static_cast<size_t>(slot)];
    TDBF &row = m_cc.catalog.rows[static_cast<size_t>(slot)];
    // No other built-in switch while this one works (a download can take a while).
    QList<QCheckBox *> held;
    for (int s = 1; s <= kLastBuiltInSlot; ++s) {
        QCheckBox *other = sCheckBox[static_cast<size_t>(s)];
        if (other->isEnabled()) {
            other->setEnabled(false);
            held.append(other);
        }
    }
    const auto untick = [box] {
        const QSignalBlocker blocker(box);
        box->setChecked(false);
    };
    Recoverable([&] {
        if (box->isChecked()) {
            if (!IsUserSlot(slot) && !FileOnDisk(slot)) {
                sLabel1->show();
                sLabel1->repaint();
                bool fetched = false;
                try {
                    fetched = downloadLearningFile && downloadLearningFile(FileCodeOfSlot(slot)) && FileOnDisk(slot);
                } catch (const TFatalError &) {
                    fetched = false;
                }
                sLabel1->hide();
                if (!fetched) {
                    untick();
                    m_cc.notifier->Error(kDownloadFailed);
                    return;
                }
            }
            row.OnOff = true;
            SaveCatalog();
        } else if (AnyOtherFileOn(m_cc.catalog, slot)) {
            row.OnOff = false;
            SaveCatalog();
        } else {
            // At least one file always stays on.
            const QSignalBlocker blocker(box);
            box->setChecked(true);
        }
        m_changed = true;
    });
    for (QCheckBox *other : held)
        other->setEnabled(true);
    RefreshMarkers();
}

void TFileManagerForm::sSpinEditChange(int slot, int value)
{
    if (m_loading)
        return;
    ChangeFileOrder(m_cc.catalog, slot, value);
    ShowOrders();
    m_changed = true;
    setFocus();
}

void TFileManagerForm::sSpeedButtonClick(int slot)
{
    Recoverable([&] {
        if (!RowReleased(slot))
            return;
        if (!FileOnDisk(slot)) {
            m_cc.notifier->Information(kNotStudiedYet);
            return;
        }
        // The file is read into an engine object of its own, which writes
        // nothing: the file being studied stays as it is in memory, and a
        // file without records is shown fresh without creating any.
        auto view = std::make_unique<TCC>();
        view->context.programFolder = m_cc.context.programFolder;
        view->context.userFolder = m_cc.context.userFolder;
        view->context.installedFolder = m_cc.context.installedFolder;
        view->context.readOnly = true;
        view->context.notifier = m_cc.notifier;
        view->context.clock = m_cc.clock;
        view->catalog = m_cc.catalog;
        view->siteCatalog = m_cc.siteCatalog;
        view->SetCurrentFile(FileCodeOfSlot(slot));
        view->LoadFileSettings();
        // No run of this file has begun: its whole quota is left (the goal
        // simulation of the status window starts from it).
        StartTrainingAfresh(view->training, view->UsableQuota());
        view->LoadLearningFile();
        TStatusForm status(*view, this);
        status.playSoundEffect = playSoundEffect;
        status.openWordBrowser = openWordBrowser;
        status.ShowModal(TStatusMode::Manager);
    });
}

void TFileManagerForm::sSpeedButtonEditClick(int number)
{
    Recoverable([&] {
        const bool available = spreadsheetAvailable ? spreadsheetAvailable() : IsExcelAvailable();
        QString path = UserWorkbookPath(m_cc.userFolder, number);
        if (!QFileInfo::exists(path)) {
            if (!available) {
                m_cc.notifier->Information(kCreateNeedsSpreadsheet);
                return;
            }
            path = m_cc.CreateSampleWorkbook(number);
        } else if (!available) {
            m_cc.notifier->Information(kEditNeedsSpreadsheet);
            return;
        }
        // A workbook carried over read-only could not be saved by the learner.
        QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::WriteOwner);
        const bool opened = openWorkbook ? openWorkbook(path) : QDesktopServices::openUrl(QUrl::fromLocalFile(path));
        if (!opened)
            m_cc.notifier->Error(kCannotOpen.arg(QDir::toNativeSeparators(path)));
    });
}

void TFileManagerForm::sSpeedButtonNameClick(int slot)
{
    Recoverable([&] {
        QPushButton *name = sSpeedButton[static_cast<size_t>(slot)];
        const QString current = m_cc.catalog.rows[static_cast<size_t>(slot)].Title;
        std::optional<QString> typed;
        if (askTitle) {
            typed = askTitle(current);
        } else {
            bool ok = false;
            const QString text = QInputDialog::getText(this, kTitleCaption, QString(), QLineEdit::Normal, current, &ok);
            if (ok)
                typed = text;
        }
        if (!typed)
            return;
        const QString title = CleanUserFileTitle(*typed);
        if (title.isEmpty())
            return;
        TDBF &row = m_cc.catalog.rows[static_cast<size_t>(slot)];
        const QString previous = row.Title;
        row.Title = title;
        try {
            SaveUserFileTitles(m_cc.catalog, m_cc.userFolder);
        } catch (const TFatalError &) {
            row.Title = previous;
            throw;
        }
        ShowTitle(name, title, title);
    });
}

void TFileManagerForm::sCheckBox_startClick()
{
    m_cc.catalog.fileManager = sCheckBox_start->isChecked();
}

void TFileManagerForm::sButton_OKClick()
{
    done(kStartStudy);
}

// Ends the program (offered at program start only).
void TFileManagerForm::sButton_finClick()
{
    done(kEndProgram);
}

// Esc closes the window as OK does, except at program start.
void TFileManagerForm::reject()
{
    Guard([this] {
        if (!m_startMode)
            done(kStartStudy);
    });
}

void TFileManagerForm::done(int result)
{
    Guard([&] {
        Recoverable([this] { SaveCatalog(); });
        if (!m_startMode && m_changed)
            m_cc.notifier->Information(kChangedNextStart);
    });
    m_startMode = false;
    sButton_fin->hide();
    QDialog::done(result);
}
