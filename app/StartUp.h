#pragma once
// The checks of the program entry and the application-wide look.
#include <QLockFile>
#include <QPalette>
#include <QString>
#include <memory>

class QApplication;

inline const QString kAlreadyRunningMessage = QStringLiteral("すでに起動しています");
inline const QString kNotWritableMessage = QStringLiteral(
    "学習記録ファイルへのアクセス時にエラーが発生しました。\r\n\r\n"
    "「制限付きアカウント」で Windows にログインされていませんか？\r\n\r\n"
    "弊社 HP の FAQ に対処法が記載されていますので、ご確認ください。");

// The single-instance guard: a lock file named "Tessarion" in the user's
// runtime folder, held for the life of the process.
class TSingleInstanceLock {
public:
    // folder: where the lock lives (the runtime folder when empty).
    explicit TSingleInstanceLock(const QString &folder = QString());
    bool Acquire();
    QString path() const { return m_path; }

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};

// Creates the folder "test" in the program folder and removes it again; false
// when it cannot be created (also when it already exists).
bool ProgramFolderWritable(const QString &programFolder);

// Qt's own Japanese texts for the standard buttons of message boxes.
void InstallJapaneseTranslations(QApplication &app);
// The system's Japanese interface font for every window.
void UseJapaneseUiFont(QApplication &app);
// The program's own light look for every window (its dialogs, message boxes
// and file choosers too), whatever the desktop's theme: dark text on light
// ground, as the main window and its skins are drawn.
void UseProgramLook(QApplication &app);
// The palette of that look.
QPalette ProgramPalette();
