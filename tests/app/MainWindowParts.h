#pragma once
// The main window's controls as a test sees them: found by the component
// names the window gives them (the window keeps its controls to itself; the
// training flow reaches them only through the screen operations). A name the
// window no longer has fails the test that asks for it.
#include "app/MainUnit.h"
#include "app/MainWidgets.h"
#include "app/Menus.h"
#include "app/WordPanel.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <array>
#include <stdexcept>

template <class T>
T *MainWindowPart(const QObject &window, const QString &name)
{
    if (T *part = window.findChild<T *>(name, Qt::FindChildrenRecursively))
        return part;
    throw std::runtime_error("the main window has no control named " + name.toStdString());
}

struct TMainWindowParts {
    QWidget *client;
    QFrame *sGroupBox_Title;
    QLabel *sLabel_TitleP;
    QLabel *sLabel_wait;
    TPanel *sPanel_Q;
    QLabel *sLabel_Q;
    TGauge *sGauge_Time;
    TPanel *sPanel_Signal;
    QToolButton *sSpeedButton_Signal;
    TPanel *sPanel_Input;
    QLabel *sLabel_Input;
    QLabel *sLabel_Norm;
    QLabel *sLabelFX_Status;
    QLabel *sLabel_random;
    QLabel *sLabel_Hasei;
    std::array<QToolButton *, 3> sBitBtn_Op;
    std::array<TPanel *, 3> sPanel_Op;
    std::array<QLabel *, 3> sLabel_Op;
    std::array<TPanel *, 3> sPanel_OpP;
    std::array<QLabel *, 3> Image_OpP;
    std::array<TPanel *, 3> sPanel_OpM;
    QToolButton *sBitBtn_blank;
    TPanel *sPanel_glimpse;
    QLabel *sLabel_glimpse;
    QToolButton *sSpeedButton_glimpse;
    TWordPanel *wordPanel;
    QTabWidget *sPageControl1;
    QLabel *sLabel_TabVoc_Voc;
    QLabel *sLabel_TabVoc_Memo;
    QLabel *sLabelFX_never;
    QTreeWidget *TntTreeView;
    TPanel *sPanel_cover;
    TPanel *sPanel_BWG;
    QLabel *Image_BWG;
    QLabel *sLabel_migiue;
    QPushButton *sButton_focus;
    QMenu *mmFile;
    QMenu *mmPreferences;
    QMenu *mmInformation;
    QAction *smFileManager;
    QAction *smUserFile;
    QAction *smReset;
    QAction *smStatus;
    QAction *smFileExit;
    QAction *smFileAllExit;
    QAction *smPreferences;
    QAction *smJukugoRule;
    QAction *smTokushuRule;
    QAction *smWords;
    QTimer *TimerForPeedy;
    QTimer *Timer_telop;
    QTimer *Timer_DDSD;
};

inline TMainWindowParts MainWindowParts(TMainForm &form)
{
    const auto label = [&](const QString &name) { return MainWindowPart<QLabel>(form, name); };
    const auto panel = [&](const QString &name) { return MainWindowPart<TPanel>(form, name); };
    const auto button = [&](const QString &name) { return MainWindowPart<QToolButton>(form, name); };
    const auto timer = [&](const QString &name) { return MainWindowPart<QTimer>(form, name); };
    const auto three = [](const auto &find, const QString &pattern) {
        return std::array{find(pattern.arg(1)), find(pattern.arg(2)), find(pattern.arg(3))};
    };
    TWordPanel &words = form.wordPanel();
    TMainMenus &menus = form.menus();
    return TMainWindowParts{
        MainWindowPart<QWidget>(form, QStringLiteral("client")),
        MainWindowPart<QFrame>(form, QStringLiteral("sGroupBox_Title")),
        label(QStringLiteral("sLabel_TitleP")),
        label(QStringLiteral("sLabel_wait")),
        panel(QStringLiteral("sPanel_Q")),
        label(QStringLiteral("sLabel_Q")),
        MainWindowPart<TGauge>(form, QStringLiteral("sGauge_Time")),
        panel(QStringLiteral("sPanel_Signal")),
        button(QStringLiteral("sSpeedButton_Signal")),
        panel(QStringLiteral("sPanel_Input")),
        label(QStringLiteral("sLabel_Input")),
        label(QStringLiteral("sLabel_Norm")),
        label(QStringLiteral("sLabelFX_Status")),
        label(QStringLiteral("sLabel_random")),
        label(QStringLiteral("sLabel_Hasei")),
        three(button, QStringLiteral("sBitBtn_Op%1")),
        three(panel, QStringLiteral("sPanel_Op%1")),
        three(label, QStringLiteral("sLabel_Op%1")),
        three(panel, QStringLiteral("sPanel_Op%1P")),
        three(label, QStringLiteral("Image_Op%1P")),
        three(panel, QStringLiteral("sPanel_Op%1M")),
        button(QStringLiteral("sBitBtn_blank")),
        panel(QStringLiteral("sPanel_glimpse")),
        label(QStringLiteral("sLabel_glimpse")),
        button(QStringLiteral("sSpeedButton_glimpse")),
        &words,
        &words,
        words.sLabel_TabVoc_Voc,
        words.sLabel_TabVoc_Memo,
        words.sLabelFX_never,
        words.TntTreeView,
        words.sPanel_cover,
        panel(QStringLiteral("sPanel_BWG")),
        label(QStringLiteral("Image_BWG")),
        label(QStringLiteral("sLabel_migiue")),
        MainWindowPart<QPushButton>(form, QStringLiteral("sButton_focus")),
        menus.mmFile,
        menus.mmPreferences,
        menus.mmInformation,
        menus.smFileManager,
        menus.smUserFile,
        menus.smReset,
        menus.smStatus,
        menus.smFileExit,
        menus.smFileAllExit,
        menus.smPreferences,
        menus.smJukugoRule,
        menus.smTokushuRule,
        menus.smWords,
        timer(QStringLiteral("TimerForPeedy")),
        timer(QStringLiteral("Timer_telop")),
        timer(QStringLiteral("Timer_DDSD")),
    };
}
